#pragma once

#include <QPlainTextEdit>

// A multi-line address box. Its text uses CR LF between lines, as the settings
// and address files store it; the editor underneath keeps plain line feeds.
class AddressBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit AddressBox(QWidget *parent = nullptr);

    [[nodiscard]] QString text() const;
    // Replaces the whole text; a CR LF pair or a lone CR becomes one line break.
    void setText(const QString &text);
};
