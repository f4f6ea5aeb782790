#include "logic/addresslist.h"
#include "logic/envelopepage.h"
#include "logic/intelligentmail.h"
#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "support/recordingsurface.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <limits>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// The page without pen moves or unit changes; the bar code is its digits printed at the pen.
bool compose(
    RecordingSurface &printer, const EnvelopeLayout &layout, int font, bool logo, bool barCode)
{
    const EnvelopePageContent content {layout, logo, QImage(40, 20, QImage::Format_RGB32),
        {u"Ann Lee"_s, u"1 Elm St"_s}, {u"Bo Ray"_s, u"Troy NY 12180"_s}, font, barCode,
        u"12180"_s};
    return EnvelopePage(content, [](const QString &digits, DrawingSurface &surface) {
        static_cast<RecordingSurface &>(surface).Print(u"bars "_s + digits);
    }).compose(printer);
}

// The bar code of these digits (check digit included): F full bar, h half bar.
QString framedBars(QStringView digits)
{
    const QString groups = u"FFhhhhhhFFhhFhFhhFFhhFhhFhFhFhhFFhhFhhhFFhhFhFhFhh"_s;
    QString bars = u"F"_s;
    for (QChar digit : digits)
        bars += groups.mid(5 * (digit.unicode() - u'0'), 5);
    return bars + u'F';
}

// A list as comparable text: "line name: first | second", "skipped line name: why", "error line
// name: why".
QStringList described(const AddressList &list)
{
    QStringList text;
    const auto notice = [](const QString &kind, const ListNotice &n) {
        return u"%1 %2 %3: %4"_s.arg(kind, QString::number(n.line), n.name, n.message);
    };
    for (const ListedEnvelope &e : list.envelopes)
        text << u"%1 %2: %3"_s.arg(QString::number(e.line), e.name, e.lines.join(u" | "_s));
    for (const ListNotice &n : list.skipped)
        text << notice(u"skipped"_s, n);
    if (list.error)
        text << notice(u"error"_s, *list.error);
    return text;
}

QStringList readList(const QByteArray &bytes, ListFormat format, const QStringList &choices = {})
{
    ColumnChoice columns;
    for (const QString &choice : choices)
        columns.choose(choice);
    return described(readAddressList(bytes, format, columns));
}

} // namespace

class LogicTest : public QObject
{
    Q_OBJECT

private slots:
    void missingChoicesFallBackToTheStartUpDefaults()
    {
        const auto choice = [](const EnvelopeSelection &selection) {
            const EnvelopeChoice c = resolveSelection(selection);
            return std::tuple(c.envelopeSize, int(c.feedSide), c.fontPosition, c.marginInches);
        };
        QCOMPARE(choice({0, FeedSide::Left, 2, 3}), std::tuple(0, 2, 2, 3.0));
        QCOMPARE(choice({std::nullopt, std::nullopt, std::nullopt, 3}), std::tuple(1, 0, 1, 3.0));
        QCOMPARE(choice({3, FeedSide::Center, -1, 3}), std::tuple(1, 1, 1, 3.0));
        QCOMPARE(choice({2, FeedSide::Right, 3, 1}), std::tuple(2, 0, 1, 1.0));
        for (const double edge :
            {-100.0, 100.0, -100.5, 100.5, qInf(), qQNaN()}) // fits no envelope
            QCOMPARE(resolveSelection({1, FeedSide::Right, 1, edge}).marginInches,
                std::abs(edge) <= 100 ? edge : 0.0);
        // A box's text prints as it is saved: an empty box is one empty line.
        for (const auto &[text, lines] :
            {std::pair(u""_s, u""_s), {u"A\r\n"_s, u"A|"_s}, {u"A\r\n\r\nB"_s, u"A||B"_s}})
            QCOMPARE(printedLines(text).join(u'|'), lines);
    }

    // Each size and side's anchors in cm at no edge space, then each edge space, font and switch.
    void page()
    {
        const std::tuple<int, FeedSide, double, double, double> anchors[]
            = {{0, FeedSide::Right, 11.5, 7, 13.5}, {0, FeedSide::Center, 6.5, 7, 8.5},
                {0, FeedSide::Left, 1.5, 7, 3.5}, {1, FeedSide::Right, 11.5, 8.5, 13.5},
                {1, FeedSide::Center, 6.5, 8.5, 8.5}, {1, FeedSide::Left, 1.5, 8.5, 3.5},
                {2, FeedSide::Right, 1, 9.5, 9.5}, {2, FeedSide::Center, 1, 9.5, 9.5},
                {2, FeedSide::Left, 1, 9.5, 9.5}};
        constexpr double FontPoints[] = {10, 14, 18};
        constexpr double LineSteps[] = {0.5, 0.6, 0.75};
        const QRegularExpression drawing(u"^(?!setCurrent|setScale)"_s);
        const auto printAt = [](const QString &text, double x, double y) {
            return u"Print \"%1\" @%2,%3"_s.arg(text).arg(x).arg(y);
        };
        for (const auto &[size, side, returnY, recipientX, recipientY] : anchors) {
            for (int i = 0; i < 18; ++i) {
                const auto [edge, font] = std::pair(i / 3, i % 3);
                const bool logo = edge % 2 == 0;
                const double x = 2.54 * edge;
                const double y = recipientY + 1;
                QStringList page {u"setLandscape"_s};
                if (logo)
                    page << u"PaintPicture %1 %2 1.5 1.5 \"40x20\""_s.arg(x + 0.2).arg(returnY);
                page << u"setFontSize 10"_s << u"setFontBold 0"_s
                     << printAt(u"Ann Lee"_s, x + 0.2 + (logo ? 2 : 0), returnY)
                     << printAt(u"1 Elm St"_s, x + 0.2 + (logo ? 2 : 0), returnY + 0.5)
                     << u"setFontSize %1"_s.arg(FontPoints[font]) << u"setFontBold 1"_s
                     << printAt(u"Bo Ray"_s, x + recipientX, y)
                     << printAt(u"Troy NY 12180"_s, x + recipientX, y + LineSteps[font]);
                if (font != 2)
                    page << printAt(u"bars 12180"_s, x + recipientX, y + LineSteps[font] * 2 + 0.5);
                RecordingSurface printer;
                QVERIFY(compose(printer, layoutFor(size, side, edge), font, logo, font != 2));
                QCOMPARE(printer.log().filter(drawing), page);
            }
        }
    }

    // A failing printer stops the page at the call that fails.
    void failingPrinterStopsThePage()
    {
        for (const int failFrom : {7, 15, 21}) { // first return line, recipient line, bar code
            RecordingSurface printer;
            printer.failFromCall(failFrom);
            QVERIFY(!compose(printer, layoutFor(1, FeedSide::Center, 2), 1, true, true));
            QCOMPARE(printer.log().size(), failFrom + 1);
        }
    }

    // Whole device pixels in 15 to 24 twips, in twips whatever the unit; the pen moves 67 twips.
    void bar()
    {
        const std::tuple<float, qint32, float, float> table[]
            = {{12, basPostNet::HalfBar, 15, 120}, {10, 2, 20, 120}, {7.67f, -1, 23, 120},
                {7.5f, basPostNet::FullBar, 22, 0}, {6, basPostNet::FullBar, 18, 0},
                {4.8f, basPostNet::FullBar, 24, 0}, {3.6f, basPostNet::FullBar, 22, 0},
                {100, basPostNet::FullBar, 15, 0}, {0, basPostNet::FullBar, 15, 0}};
        for (const auto &[pixelSize, kind, width, top] : table) {
            for (const int unit : {DrawingSurface::Twips, DrawingSurface::Centimeters}) {
                RecordingSurface surface(pixelSize);
                surface.setCurrentX(100);
                surface.setCurrentY(200);
                surface.setScaleMode(unit);
                basPostNet::DrawBar(surface, kind);
                QCOMPARE(surface.ScaleMode(), unit);
                const RecordingSurface::Box box = surface.boxes().value(0);
                QCOMPARE(QRectF(QPointF(box.x1, box.y1), QPointF(box.x2, box.y2)),
                    QRectF(QPointF(100, 200 + top), QPointF(100 + width, 390)));
                surface.setScaleMode(DrawingSurface::Twips);
                QCOMPARE(QPointF(surface.CurrentX(), surface.CurrentY()), QPointF(167, 200));
            }
        }
    }

    // 44,999 overflows a 16-bit sum; nothing is drawn past the edge, yet every digit is summed.
    void postNet()
    {
        const QString nines = QString(4999, u'9') + u'8';
        const QString hundred = QString(99, u'9') + u'8' + u'1';
        const auto unbounded = float(qInf());
        const std::tuple<QString, QString, float> table[] = {
            {u"12345"_s, u"F hhhFF hhFhF hhFFh hFhhF hFhFh hFhFh F"_s.remove(u' '), unbounded},
            {u" a1-2 b3x4--5z "_s, framedBars(u"123455"), unbounded},
            {u"0"_s, u"FFFhhhFFhhhF"_s, unbounded}, {u"99920"_s, framedBars(u"999201"), unbounded},
            {nines, framedBars(nines + u'1'), unbounded},
            {hundred.left(100), framedBars(hundred), 50.0f + 67.0f * 506 + 1},
            {hundred.left(100), framedBars(hundred).left(506), 50.0f + 67.0f * 506},
            {nines, framedBars(nines + u'1').left(40), 50.0f + 67.0f * 40},
            {QString(), QString(), unbounded}, {u"Springfield - IL"_s, QString(), unbounded}};
        for (const auto &[text, bars, width] : table) {
            RecordingSurface surface;
            surface.setWidthTwips(width);
            surface.setCurrentX(50);
            surface.setCurrentY(60);
            basPostNet::DrawPostNet(text, surface);
            QString drawn;
            for (const RecordingSurface::Box &box : surface.boxes())
                drawn.append(box.y1 == 60 ? u'F' : u'h');
            QCOMPARE(drawn, bars);
            QCOMPARE(QPointF(surface.CurrentX(), surface.CurrentY()),
                QPointF(50 + 67 * bars.size(), 60));
        }
    }

    // USPS-B-3200's four encoding examples, and two routing codes (bars from another encoder) that
    // with them tell every entry of the bar table from the bits next to it.
    void intelligentMailExamples()
    {
        const std::pair<QStringView, QStringView> table[] = {
            {u"", u"ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
            {u"01234", u"DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
            {u"012345678", u"ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
            {u"01234567891", u"AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
            {u"835926059", u"FAAATATTFATAADDFADATATAFTFTTFTDAFADATFTFFADDAADFAFDTFFTFFADTAFFTF"},
            {u"66413043517", u"AFDAADFFTAFAFDDTDFDATTTADFFTDATTATTATTFDTDTAAAAFFDFATFTFFFDAATFTF"}};
        for (const auto &[routing, bars] : table)
            QCOMPARE(IntelligentMail::encode(u"01234567094987654321", routing).bars, bars);
    }

    // Field checks, serial runs, tracking codes: each text begins as expected, or is empty where
    // valid; a refusal names its field, a run too long for the serial's width gives its numbers.
    void intelligentMailFieldChecks()
    {
        using namespace IntelligentMail;
        const Fields six = parseFields(u"01,234,567094,999999998").fields;
        const Fields nine = parseFields(u"01,234,956709498,000007").fields;
        const std::pair<QString, QStringView> table[] = {
            {checkBarcodeId(u"05"), u"Barcode ID \"05\" must be two digits, the second 0 to 4."},
            {checkServiceType(u"40"), u"Service type \"40\" must be three digits."},
            {checkMailerId(u"923456"), u"Mailer ID \"923456\" must be six digits starting with 0"},
            {checkSerial(u"1", u"123456"), u"Serial \"1\" must be 9 digits with a 6-digit Mailer"},
            {checkSerial(u"1", u"912345678"), u"Serial \"1\" must be 6 digits with a 9-digit"},
            {checkRoutingCode(u"1234"), u"Routing code \"1234\" must be 0, 5, 9 or 11 digits."},
            {parseFields(u"1,2").error, u"Expected BARCODE_ID,SERVICE_TYPE,MAILER_ID,FIRST_SERIAL"},
            {encode(u"0123456709498765432x", {}).error, u"Tracking code \"0123456709498765432x\""},
            {checkSerialRun(six, 3),
                u"3 envelopes from serial 999999998 need serials up to "
                u"1000000000, past 999999999, the largest of 9 digits."},
            {checkSerialRun(nine, 999994),
                u"999994 envelopes from serial 000007 need serials up to "
                u"1000000, past 999999, the largest of 6 digits."},
            {checkSerialRun(six, -1), u"The number of envelopes, -1, must not be negative."},
            {checkSerialRun(six, std::numeric_limits<qint64>::max()), u"9223372036854775807 env"},
            {encode(u"05234567094987654321", {}).error, u"Barcode ID"}, {checkBarcodeId(u"94"), {}},
            {encode(u"01234567094987654321", u"1234").error, u"Routing code"},
            {checkBarcodeId(u"0"), u"Barcode ID"}, {checkServiceType(u"0\uFF140"), u"Service type"},
            {checkMailerId(u"812345678"), u"Mailer ID"}, {checkRoutingCode(u"123456"), u"Routing"},
            {checkRoutingCode(u"1234567890"), u"Routing"},
            {parseFields(u"1,2,3,4,").error, u"Expected"},
            {parseFields(u"00,0,1,1").error, u"Service"}, {checkSerialRun(six, 2), {}},
            {trackingCode(six, 2), {}}, {checkSerialRun(six, 0), {}},
            {trackingCode(nine, 999993), {}}, {trackingCode(six, -1), {}},
            {checkSerialRun({}, 1), u"Barcode ID"}, {trackingCode({}, 0), {}},
            {trackingCode(six, 1), u"01234567094999999999"},
            {trackingCode(nine, 999992), u"01234956709498999999"},
            {trackingCode(nine, 0), u"01234956709498000007"}};
        for (const auto &[text, expected] : table)
            QVERIFY2(
                expected.isEmpty() ? text.isEmpty() : text.startsWith(expected), qPrintable(text));
    }

    // 65 bars in twips whatever the unit, 20 to 24 an inch, 0.015-0.025 in wide in whole pixels
    // where any fit, full or reaching up or down from one tracker band; the pen moves 65 pitches.
    void intelligentMailBars()
    {
        const QString bars = IntelligentMail::encode(u"01234567094987654321", u"01234").bars;
        const std::pair<float, float> table[] = {{2.4f, 28.8f}, {15, 30}, {7.5f, 30}, {12, 24},
            {20, 21.6f}, {30, 30}, {40, 36}, {0, 28.8f}, {qInf(), 28.8f}};
        for (const auto &[pixelSize, width] : table) {
            RecordingSurface surface(pixelSize);
            surface.setCurrentX(100);
            surface.setCurrentY(200);
            surface.setScaleMode(DrawingSurface::Centimeters);
            IntelligentMail::drawBars(bars, surface);
            const QList<RecordingSurface::Box> &boxes = surface.boxes();
            const float pitch = (boxes.value(64).x1 - boxes.value(0).x1) / 64;
            QVERIFY(boxes.size() == 65 && pitch >= 60 && pitch <= 72);
            QCOMPARE(IntelligentMail::symbolWidth(surface), 64 * pitch + width);
            const auto tracker = boxes.value(bars.indexOf(u'T')),
                       full = boxes.value(bars.indexOf(u'F'));
            QVERIFY(full.y1 == 200 && full.y2 >= 380 && full.y2 <= 437.6f && tracker.y1 > 200);
            QVERIFY(tracker.y2 - tracker.y1 >= 56.16f && tracker.y2 - tracker.y1 <= 82.08f);
            for (int i = 0; i < 65; ++i) {
                const RecordingSurface::Box &box = boxes[i];
                QVERIFY(box.scaleMode == DrawingSurface::Twips
                    && std::abs(box.x1 - 100 - i * pitch) < 0.01f
                    && std::abs(box.x2 - box.x1 - width) < 0.01f);
                QCOMPARE(QPointF(box.y1, box.y2),
                    QPointF(u"FA"_s.contains(bars[i]) ? full.y1 : tracker.y1,
                        u"FD"_s.contains(bars[i]) ? full.y2 : tracker.y2));
            }
            QCOMPARE(surface.ScaleMode(), DrawingSurface::Centimeters);
            surface.setScaleMode(DrawingSurface::Twips);
            QCOMPARE(
                QPointF(surface.CurrentX(), surface.CurrentY()), QPointF(100 + 65 * pitch, 200));
        }
    }

    // The digits of the last run of digits and dashes.
    void zipExtraction()
    {
        const QString address = u"Jane Doe\n12 Elm Street\nSpringfield, IL 62704"_s;
        const std::pair<QString, QString> table[]
            = {{address + u'\n', u"62704"_s}, {address + u"\nUSA"_s, u"62704"_s},
                {u"Jane Doe\r\nIL 62704\r\n"_s, u"62704"_s}, {address + u"-1234"_s, u"627041234"_s},
                {address + u"\nRoom 5"_s, u"5"_s}, {address + u"\n-"_s, QString()},
                {u"ZIP -62704-"_s, u"62704"_s}, {u"62704-1234"_s, u"627041234"_s},
                {QString(), QString()}, {u"Jane Doe\nSpringfield"_s, QString()}};
        for (const auto &[text, digits] : table) {
            QCOMPARE(extractZipDigits(text), digits);
            QCOMPARE(holdsZipCharacter(text), text.contains(QRegularExpression(u"[0-9-]"_s)));
        }
    }
    // Each exported list read whole: lines, names, line numbers, skipped cards and rows, errors.
    void listFixtures()
    {
        const QString found
            = uR"(columns found: "Nom", "Société", "Rue", "Code postal", "Ville", "Pays")"_s;
        const QString fields
            = uR"(; name them with --column street="HEADER" --column city="HEADER" ... (fields: name, first, last, company, street, street2, city, state, zip, country))"_s;
        const QStringList french = {u"name=nom"_s, u"company=Société"_s, u"street= Rue "_s,
            u"zip=Code postal"_s, u"city=Ville"_s, u"country=Pays"_s};
        const std::tuple<QString, ListFormat, QStringList, QStringList> table[] = {
            {u"thunderbird.csv"_s, ListFormat::Delimited, {},
                {u"2 Jane Doe: Jane Doe | Acme Anvils | 12 Elm Street | Apt 4B | Springfield, IL 62704"_s,
                    u"3 Bob Ray: Bob Ray | Ray & Co | 500 Main St | Suite 200 | Troy, NY 12180-3590"_s,
                    u"5 Ann Lee: Ann Lee | 1 Rue Peel | Montréal, QC H3A 1A1 | Canada"_s,
                    u"7 Dana Fox: Dana Fox | Unter den Linden 77 | Berlin 10117"_s,
                    u"skipped 6 Carl Roe: no address in the row"_s}},
            {u"google.csv"_s, ListFormat::Delimited, {},
                {u"2 María García: María García | Google | 1600 Amphitheatre Pkwy | Building 43 | Mountain View, CA 94043"_s,
                    u"6 Tom Baker: Tom Baker | PO Box 18 | Bar Harbor, ME 04609"_s,
                    u"7 Lena Park: Lena Park | 22 Oak Ave | Portland, OR 97201"_s,
                    u"10 Globex Corporation: Globex Corporation | 1 Globex Way | PO Box 7 | Cypress Creek, OR 97000"_s,
                    u"skipped 11 Phone Only: no address in the row"_s}},
            {u"google-new.csv"_s, ListFormat::Delimited, {},
                {u"2 John Q Public: John Q Public | Initech | 100 Main St | Austin, TX 78701"_s,
                    u"4 Initrode: Initrode | 77 Industrial Blvd | Dock 3 | Dayton, OH 45402"_s}},
            {u"excel-europe.csv"_s, ListFormat::Delimited, {},
                {u"2 Jürgen Müller: Jürgen Müller | Müller & Söhne GmbH | Hauptstraße 5 | München 80331 | Deutschland"_s,
                    u"3 Zoë Dupré: Zoë Dupré | Société Générale | 12, rue de l'Église | Paris 75008 | France"_s,
                    u"4 Ærøskøbing Færgefart: Ærøskøbing Færgefart | Havnen 2 | Ærøskøbing 5970 | Danmark"_s}},
            {u"contacts.tsv"_s, ListFormat::Delimited, {},
                {u"2 Wendy Li: Wendy Li | 4 Elm Ct Rear | Unit 2 | Albany, NY 12207"_s,
                    u"3 Acme Ltd: Acme Ltd | 9 High St | Leeds LS1 4AP | United Kingdom"_s,
                    u"skipped 5 Sam Oak: no address in the row"_s}},
            {u"unknown-columns.csv"_s, ListFormat::Delimited, french,
                {u"2 Élodie Bérard: Élodie Bérard | 8 rue des Écoles | Lyon 69001 | France"_s}},
            {u"unknown-columns.csv"_s, ListFormat::Delimited, {},
                {u"error 1 : cannot tell which columns hold the street and the name or company; "_s
                    + found + fields}},
            {u"unknown-columns.csv"_s, ListFormat::Delimited, {u"street=Rue"_s},
                {u"error 1 : cannot tell which column holds the name or the company; "_s + found
                    + fields}},
            {u"unknown-columns.csv"_s, ListFormat::Delimited, {u"street=Straße"_s},
                {u"error 1 : no column is named \"Straße\"; "_s + found}},
            {u"open-quote.csv"_s, ListFormat::Delimited, {},
                {u"error 3 : a quoted field is not closed before the end of the file"_s}},
            {u"vcard21.vcf"_s, ListFormat::VCard, {},
                {u"1 Jürgen Müller: Jürgen Müller | Müller Feinkost GmbH | Hauptstraße 5 | 2. Stock | Hinterhaus | München 80331 | Deutschland"_s,
                    u"11 Renée Bédard: Renée Bédard | 12 rue de l'Église | Québec, QC G1R 4P5 | Canada"_s,
                    u"17 Pat Kelly: Pat Kelly | 1209 North Orange Street | Wilmington, DE 19801"_s,
                    u"skipped 29 Quinn Nobody: no postal address (ADR) in the card"_s}},
            {u"vcard30.vcf"_s, ListFormat::VCard, {},
                {u"1 Dr. Jane Doe, PhD: Dr. Jane Doe, PhD | Example, Inc. | 200 Work Ave | Building B | Suite 300 | Springfield, IL 62701-1234"_s,
                    u"13 Sean O'Neil Jr.: Sean O'Neil Jr. | O'Neil Plumbing | 5 Shore Dr; Unit 2 | Quincy, MA 02169"_s,
                    u"20 Acme Anvils: Acme Anvils | PO Box 42 | Phoenix, AZ 85001"_s,
                    u"skipped 26 Empty Address: no postal address (ADR) in the card"_s}},
            {u"vcard40.vcf"_s, ListFormat::VCard, {},
                {u"1 Simon Perreault: Simon Perreault | 1 Home St | Quebec, QC G1V 1A1 | Canada"_s,
                    u"8 Yuki Kato: Yuki Kato | 1-1 Chiyoda | Chiyoda-ku, Tokyo 100-0001 | Japan"_s}},
            {u"unclosed.vcf"_s, ListFormat::VCard, {},
                {u"error 6 Bea Kim: the card has no END:VCARD before the end of the file"_s}},
            {u"address.qmf"_s, ListFormat::AddressFile, {},
                {u"1 Jane Doe: Jane Doe | 12 Elm Street | Springfield, IL 62704 | "_s}},
        };
        for (const auto &[file, format, choices, expected] : table) {
            const QByteArray bytes
                = TestSupport::readFile(TestSupport::dataPath(u"lists/"_s + file));
            QVERIFY2(!bytes.isNull(), qPrintable(file));
            QCOMPARE(readList(bytes, format, choices), expected);
        }
    }

    // vCard forms the exported files do not show: escapes, parameter forms, charsets, odd lines.
    void vCardDetails()
    {
        const auto card = [](const QByteArray &body) {
            return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\n") + body + "END:VCARD\r\n";
        };
        const std::pair<QByteArray, QStringList> table[] = {
            {"", {u"error 0 : no BEGIN:VCARD in the file"_s}},
            {"\xEF\xBB\xBF\r\nbegin:vcard\nN:Public;John;Quinlan,Paul;Mr.;Esq.\n"
             "ADR:;;1 Elm\\N2nd\\\\3rd;Troy;NY;12180\nend:vcard",
                {u"2 Mr. John Quinlan Paul Public Esq.: Mr. John Quinlan Paul Public Esq. | 1 Elm | 2nd\\3rd | Troy, NY 12180"_s}},
            {card("ORG:Globex;Sales\r\nADR;TYPE=WORK:;;1 A St;;;;\r\n"
                  "ADR;TYPE=HOME;TYPE=PREF:;;2 B St;;;;\r\nADR;TYPE=HOME:;;3 C St;;;;\r\n"),
                {u"1 Globex: Globex | 2 B St"_s}},
            {card("FN;ENCODING=QUOTED-PRINTABLE;CHARSET=WINDOWS-1252:Caf=e9 =80 =ZZ = x\r\n"
                  "ADR;PREF=3:;;4 D St\r\nADR;PREF=x:;;5 E St\r\n"),
                {u"1 Café € =ZZ = x: Café € =ZZ = x | 5 E St"_s}},
            {card("FN:Al\r\nADR;TYPE=HOME;PREF=2:;;7 G St\r\nADR;PREF=1:;;8 H St\r\n"),
                {u"1 Al: Al | 8 H St"_s}},
            {card("FN:Jo=41\r\nADR;TYPE=WORK:;;1 A St\r\nADR;TYPE=postal,home:;;2 B St\r\n"),
                {u"1 Jo=41: Jo=41 | 2 B St"_s}},
            {card("FN;CHARSET=SHIFT_JIS:Ren\xC3\xA9\r\nthis line has no colon\r\n:\r\n"
                  "ADR;PREF=2:;;6 F St;;;;Canada\r\nADR;PREF=1:;;;;;;USA\r\n"),
                {u"1 René: René | 6 F St | Canada"_s}},
            {"BEGIN:VCARD\r\nVERSION:2.1\r\nFN;QUOTED-PRINTABLE:Al=\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nFN:Bo\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n",
                {u"error 8 : the card has no END:VCARD before the end of the file"_s}},
            {"noise\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Al\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nFN:Bo\r\n  Ray\r\nADR:;;1 Elm;;;12180\r\nEND:VCARD\r\n",
                {u"6 Bo Ray: Bo Ray | 1 Elm | 12180"_s,
                    u"skipped 2 Al: no postal address (ADR) in the card"_s}},
        };
        for (const auto &[bytes, expected] : table)
            QCOMPARE(readList(bytes, ListFormat::VCard), expected);
    }

    // CSV forms the exported files do not show: quoting, delimiters, groups, choices, line ends.
    void delimitedDetails()
    {
        const QByteArray outlook = "First Name,Middle Name,Last Name,Company,Business Street,"
                                   "Business City,Home Street,Home City,Home Postal Code\r\n";
        const std::tuple<QByteArray, QStringList, QStringList> table[] = {
            {"", {}, {u"error 0 : no header row"_s}},
            {" \r\n;;\r\n", {}, {u"error 0 : no header row"_s}},
            {"Name,Street\r\n", {}, {}},
            {"\"Full, Name\";Street;City\r\n\"Al \"\"Ace\"\" Poe\";\"12 Oak\" St;Troy\r\n", {},
                {u"2 Al \"Ace\" Poe: Al \"Ace\" Poe | 12 Oak St | Troy"_s}},
            {outlook
                    + "Al,B.,Poe,Poe Inc,1 Work St,Troy,2 Home St,Albany,12207\r\n"
                      "Cy,,Dunn,,3 Work St,Troy,,Albany\r\nDi,,Lo,,,,,Albany",
                {},
                {u"2 Al B. Poe: Al B. Poe | Poe Inc | 2 Home St | Albany 12207"_s,
                    u"3 Cy Dunn: Cy Dunn | 3 Work St | Troy"_s, u"4 Di Lo: Di Lo | Albany"_s}},
            {outlook + "Al,,Poe,,1 Work St,Troy,2 Home St,Albany",
                {u"street=Business Street"_s, u"first=Company"_s}, {u"2 Poe: Poe | 1 Work St"_s}},
            {"Display Name\tFirst Name\tLast\tAddress\rJo Ray\tJo\tRay\t\"1 Elm\rRear\"\r\n\r"
             "X\t\t\t\nBo Lee\tBo\tLee\t2 Elm",
                {u"last=Last"_s, u"first=first name"_s},
                {u"2 Jo Ray: Jo Ray | 1 Elm | Rear"_s, u"6 Bo Lee: Bo Lee | 2 Elm"_s,
                    u"skipped 5 : no address in the row"_s}},
            {"Name;Street\nAl;1 Elm\nBo;2 Elm", {}, {u"2 Al: Al | 1 Elm"_s, u"3 Bo: Bo | 2 Elm"_s}},
            {"Name,Display Name,Street,Address\nAl,Bo,1 Elm,2 Oak", {}, {u"2 Al: Al | 1 Elm"_s}},
            {"Company,City\n", {},
                {u"error 1 : cannot tell which column holds the street; columns found: \"Company\", \"City\"; name them with --column street=\"HEADER\" --column city=\"HEADER\" ... (fields: name, first, last, company, street, street2, city, state, zip, country)"_s}},
        };
        for (const auto &[bytes, choices, expected] : table)
            QCOMPARE(readList(bytes, ListFormat::Delimited, choices), expected);
    }

    // "City, ST ZIP" of the parts present; no US, no country with digits, no dash after the ZIP.
    void composedAddressLines()
    {
        const QByteArray rows = "Name,Company,Street,Street 2,City,State,ZIP,Country\n"
                                ",Acme,1 A St,,Troy,,,usa\n"
                                "Al,,1 A St,,,NY,12180,U.S.A.\n"
                                "Al,,1 A St,,Troy,,12180,The United States Of America\n"
                                "Al,AL,1 A St,, Troy ,NY,,United  States\n"
                                "Al,,1 A St,\" \n Floor 2 \",,,12180,Canada\n"
                                "Al,,1 A St,,,,,Country 2\n"
                                "Al,,1 A St,,,,12180,Guinea-Bissau\n"
                                "Al,,,,,,12180,\n";
        const QStringList expected
            = {u"2 Acme: Acme | 1 A St | Troy"_s, u"3 Al: Al | 1 A St | NY 12180"_s,
                u"4 Al: Al | 1 A St | Troy 12180 | The United States Of America"_s,
                u"5 Al: Al | 1 A St | Troy, NY"_s,
                u"6 Al: Al | 1 A St | Floor 2 | 12180 | Canada"_s, u"8 Al: Al | 1 A St"_s,
                u"9 Al: Al | 1 A St | 12180 | Guinea\u2010Bissau"_s, u"10 Al: Al | 12180"_s};
        QCOMPARE(readList(rows, ListFormat::Delimited), expected);
    }

    // A .qmf file: its lines as Open Address reads them, blank ones at the end too.
    void addressFileEnvelope()
    {
        const std::pair<QByteArray, QString> table[] = {{"", u"1 : "_s}, {"\r\n \r\n", u"1 :  |  "_s},
            {"  \r\nBo  Ray\rCaf\xE9\n\nTroy NY 12180\n\n",
                u"1 Bo Ray:    | Bo  Ray | Café |  | Troy NY 12180 | "_s}};
        for (const auto &[bytes, expected] : table)
            QCOMPARE(readList(bytes, ListFormat::AddressFile), QStringList {expected});
    }

    // The file name's extension first; for "-" or another one, the content.
    void listFormatGuess()
    {
        using F = ListFormat;
        const std::tuple<QString, QByteArray, ListFormat> table[] = {
            {u"a.QMF"_s, "BEGIN:VCARD", F::AddressFile}, {u"a.vcf"_s, "a,b", F::VCard},
            {u"a.Vcard"_s, "", F::VCard}, {u"a.csv"_s, "", F::Delimited},
            {u"a.tsv"_s, "", F::Delimited}, {u"a.txt"_s, "BEGIN:VCARD", F::Delimited},
            {u"-"_s, "\xEF\xBB\xBF\r\n  begin:vcard\r\n", F::VCard},
            {u"-"_s, "BEGIN:VCAR", F::AddressFile}, {u"list.dat"_s, "Name;Street\n", F::Delimited},
            {u"-"_s, "Name\tStreet", F::Delimited},
            {u"-"_s, "Jo Ray\r\n1 Elm, Apt 2", F::AddressFile}, {u"-"_s, "", F::AddressFile}};
        for (const auto &[name, start, format] : table)
            QCOMPARE(guessListFormat(name, start), format);
    }

    // --column FIELD=HEADER: known fields only, and an '=' is needed.
    void columnChoiceArguments()
    {
        ColumnChoice choice;
        QVERIFY(choice.choose(u"Street=Rue=2"));
        QVERIFY(choice.choose(u" zip =CP"));
        QVERIFY(!choice.choose(u"street"));
        QVERIFY(!choice.choose(u"town=Ville"));
        QVERIFY(!choice.choose(u"=Ville"));
        QCOMPARE(choice.header(ListField::Street), u"Rue=2"_s);
        QCOMPARE(choice.header(ListField::Zip), u"CP"_s);
        QCOMPARE(listFieldName(ListField::Country), u"country"_s);
    }
};

QTEST_MAIN(LogicTest)
#include "logic_test.moc"
