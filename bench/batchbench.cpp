#include "batchbench.h"

#include "childprocess.h"
#include "median.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <vector>

namespace {

// gLabels' own format (glabels 3): a landscape Letter page holding one label,
// the return address and the recipient's merged fields.
constexpr char GlabelsDocument[] = R"(<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Quillmark" part="Envelope" size="Other" description="Envelope" width="792pt" height="612pt">
    <Label-rectangle id="0" width="792pt" height="612pt" round="0pt" x_waste="0pt" y_waste="0pt">
      <Markup-margin size="0pt"/>
      <Layout nx="1" ny="1" x0="0pt" y0="0pt" dx="792pt" dy="612pt"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="false">
    <Object-text x="6pt" y="326pt" w="200pt" h="40pt" justify="Left" valign="Top" auto_shrink="False" a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span font_family="Sans" font_size="10" font_weight="Regular" font_italic="False" color="0x000000ff" line_spacing="1">Ann Sender<NL/>1 Elm St</Span>
    </Object-text>
    <Object-text x="241pt" y="411pt" w="300pt" h="80pt" justify="Left" valign="Top" auto_shrink="False" a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span font_family="Sans" font_size="14" font_weight="Bold" font_italic="False" color="0x000000ff" line_spacing="1"><Field name="Name"/><NL/><Field name="Street"/><NL/><Field name="City"/>, <Field name="State"/> <Field name="ZIP"/></Span>
    </Object-text>
  </Objects>
  <Merge type="Text/Comma/Line1Keys" src="%1"/>
</Glabels-document>
)";

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString writeList(const QTemporaryDir &dir, int envelopes)
{
    QByteArray rows = "Name,Street,City,State,ZIP\n";
    for (int i = 0; i < envelopes; ++i)
        rows += "Al Poe " + QByteArray::number(i) + ",1 Oak St,Troy,NY,12180\n";
    const QString path = dir.filePath(QStringLiteral("list-%1.csv").arg(envelopes));
    write(path, rows);
    return path;
}

} // namespace

BatchFigures measureBatch(const QString &quillmark, int runs)
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("from.qmf"));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    write(from, "Ann Sender\r\n1 Elm St\r\n");
    const auto ours = [&](int envelopes) {
        return QStringList {QStringLiteral("--pdf"), pdf, QStringLiteral("--from"), from,
            QStringLiteral("--no-barcode"), QStringLiteral("--no-logo"), QStringLiteral("--size"),
            QStringLiteral("long"), writeList(dir, envelopes)};
    };
    const QString glabels = QStandardPaths::findExecutable(QStringLiteral("glabels-3-batch"));
    const QString list1000 = writeList(dir, 1000);
    const QString document = dir.filePath(QStringLiteral("envelope.glabels"));
    write(document, QString::fromLatin1(GlabelsDocument).arg(list1000).toUtf8());

    std::vector<double> ms1000, glabelsMs, mib200, mib20000;
    for (int i = 0; i < runs; ++i) {
        ms1000.push_back(runChild(quillmark, ours(1000)).milliseconds);
        if (!glabels.isEmpty())
            glabelsMs.push_back(runChild(
                glabels, {QStringLiteral("-i"), list1000, QStringLiteral("-o"), pdf, document})
                                    .milliseconds);
        mib200.push_back(runChild(quillmark, ours(200)).peakMiB);
        mib20000.push_back(runChild(quillmark, ours(20000)).peakMiB);
    }
    return {median(ms1000), glabelsMs.empty() ? 0.0 : median(glabelsMs), median(mib200),
        median(mib20000)};
}
