#include "printbench.h"
#include "benchwindow.h"
#include "median.h"

#include "controls/addressbox.h"
#include "controls/imagebox.h"
#include "handlers/printjob.h"
#include "platform/commondialogpresenter.h"
#include "platform/qtprintersurface.h"
#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace {

const QStringList ReturnLines {QStringLiteral("Quillmark Stationers"),
    QStringLiteral("Attn: Ann Lee"), QStringLiteral("1 Elm Street, Suite 200"),
    QStringLiteral("Springfield IL 62701")};
const QStringList RecipientLines {QStringLiteral("Bo Ray"), QStringLiteral("Ray & Daughters"),
    QStringLiteral("2 Oak Avenue"), QStringLiteral("Apartment 5B"),
    QStringLiteral("Troy NY 12180-1234")};

double kib(const QString &path)
{
    return QFileInfo(path).size() / 1024.0;
}

QImage benchLogo()
{
    QImage logo(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x)
            logo.setPixel(x, y, qRgb(x, y, (x + y) / 2));
    }
    return logo;
}

// Accepts at once, printing to the file set before each click, and starts the clock.
class PdfPrintDialog final : public CommonDialogPresenter
{
public:
    explicit PdfPrintDialog(QElapsedTimer &clock)
        : m_clock(clock)
    { }

    QString outputFile;

    std::optional<QString> showFileDialog(const FileDialogRequest &) override { return {}; }
    bool showPrintDialog(QPrinter &printer, bool, bool) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile);
        m_clock.start();
        return true;
    }

private:
    QElapsedTimer &m_clock;
};

// The surface the job prints on, noting when its document has ended.
class TimedSurface final : public PrinterSurface
{
public:
    TimedSurface(QPrinter &printer, const QElapsedTimer &clock, double &endedMs)
        : m_surface(printer)
        , m_clock(clock)
        , m_endedMs(endedMs)
    { }

    // The pen is kept here and on the wrapped surface alike.
    void setScaleMode(int mode) override
    {
        PrinterSurface::setScaleMode(mode);
        m_surface.setScaleMode(mode);
    }
    void setCurrentX(float x) override
    {
        PrinterSurface::setCurrentX(x);
        m_surface.setCurrentX(x);
    }
    void setCurrentY(float y) override
    {
        PrinterSurface::setCurrentY(y);
        m_surface.setCurrentY(y);
    }
    float ScaleWidth() const override { return m_surface.ScaleWidth(); }
    float TwipsPerPixelX() const override { return m_surface.TwipsPerPixelX(); }
    void Line(float x1, float y1, float x2, float y2) override { m_surface.Line(x1, y1, x2, y2); }
    void setLandscape() override { m_surface.setLandscape(); }
    void setFontSize(double points) override { m_surface.setFontSize(points); }
    void setFontBold(bool on) override { m_surface.setFontBold(on); }
    void Print(const QString &line) override { m_surface.Print(line); }
    void PaintPicture(const QImage &picture, float x, float y, float width, float height) override
    {
        m_surface.PaintPicture(picture, x, y, width, height);
    }
    bool EndDoc() override
    {
        const bool ended = m_surface.EndDoc();
        m_endedMs = m_clock.nsecsElapsed() / 1e6;
        return ended;
    }
    void abortDoc() override { m_surface.abortDoc(); }
    bool isOk() const override { return m_surface.isOk(); }

private:
    QtPrinterSurface m_surface;
    const QElapsedTimer &m_clock;
    double &m_endedMs;
};

// The window set up for the full envelope: long envelope, centre feed,
// 1 inch, Medium, logo and bar code on.
void fillEnvelope(const Form1Controls &c, const QImage &logo)
{
    c.OptSize[1]->setChecked(true);
    c.Option3->setChecked(true);
    c.optMargin[1]->setChecked(true);
    c.cmbSize->setCurrentIndex(1);
    c.Check1->setChecked(true);
    c.Check2->setChecked(true);
    c.Image1->setPicture(logo);
    c.FromAddr->setText(ReturnLines.join(QStringLiteral("\r\n")));
    c.ToAddr->setText(RecipientLines.join(QStringLiteral("\r\n")));
}

void measureWindow(PrintFigures &figures, const QImage &logo, int runs)
{
    BenchWindow window;
    if (!window.settings.isValid() || !window.loaded)
        return;
    Form1 &form = window.form;
    const QString folder = window.settings.path();
    QFile from(folder + QStringLiteral("/from.txt"));
    if (from.open(QIODevice::WriteOnly))
        from.write(ReturnLines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    from.close();
    fillEnvelope(form.controls(), logo);

    QElapsedTimer clock;
    double endedMs = 0;
    auto dialog = std::make_unique<PdfPrintDialog>(clock);
    PdfPrintDialog &script = *dialog;
    form.commonDialog().setPresenter(std::move(dialog));
    form.printJob().setSurfaceFactory(
        [&](QPrinter &printer) { return std::make_shared<TimedSurface>(printer, clock, endedMs); });
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        script.outputFile = folder + QStringLiteral("/envelope-%1.pdf").arg(i);
        form.controls().Print->click();
        times.push_back(endedMs);
    }
    figures.ms = median(times);
    figures.pdfKiB = kib(script.outputFile);
}

// The same page drawn directly; positions in centimetres from the printable corner.
double plainPage(QPrinter &printer, const QString &path, const QImage &logo)
{
    printer.setOutputFileName(path);
    QElapsedTimer clock;
    clock.start();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter(&printer);
    const double perCm = printer.resolution() / 2.54;
    const double perTwip = printer.resolution() / 1440.0;
    painter.drawImage(QRectF(2.74 * perCm, 6.5 * perCm, 1.5 * perCm, 1.5 * perCm), logo);
    QFont font;
    const auto printLines = [&](const QStringList &lines, double x, double y, double step) {
        painter.setFont(font);
        const double ascent = QFontMetricsF(font, painter.device()).ascent();
        for (int k = 0; k < lines.size(); ++k)
            painter.drawText(QPointF(x * perCm, (y + step * k) * perCm + ascent), lines[k]);
    };
    font.setPointSize(10);
    printLines(ReturnLines, 4.74, 6.5, 0.5);
    font.setPointSize(14);
    font.setBold(true);
    printLines(RecipientLines, 11.04, 9.5, 0.6);
    for (int bar = 0; bar < 52; ++bar) {
        const double top = bar % 3 == 0 ? 0 : 120;
        painter.fillRect(QRectF(11.04 * perCm + bar * 67 * perTwip, 13.0 * perCm + top * perTwip,
                             24 * perTwip, (190 - top) * perTwip),
            Qt::black);
    }
    painter.end();
    return clock.nsecsElapsed() / 1e6;
}

void measurePlain(PrintFigures &figures, const QString &folder, const QImage &logo, int runs)
{
    // One printer for every page, as the window keeps one for the run.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    std::vector<double> times;
    QString path;
    for (int i = 0; i < runs; ++i) {
        path = folder + QStringLiteral("/plain-%1.pdf").arg(i);
        times.push_back(plainPage(printer, path, logo));
    }
    figures.anchorMs = median(times);
    figures.anchorPdfKiB = kib(path);
}

} // namespace

PrintFigures measurePrint(int runs)
{
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) {
        // Nothing is shown: printing needs no screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillmark_bench";
        static char *argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    PrintFigures figures;
    QTemporaryDir folder;
    if (!folder.isValid())
        return figures;
    const QImage logo = benchLogo();
    measureWindow(figures, logo, runs);
    measurePlain(figures, folder.path(), logo, runs);
    return figures;
}
