// Reference pages: the metafile player on small hand-made files, metafiles that lie about
// themselves, and both page viewers driven by clicks.
#include "TestUtil.h"
#include "WmfWriter.h"
#include "pages/GuideViewer.h"
#include "pages/PageViewer.h"
#include "shell/Module1.h"

using namespace platform;
using namespace Module1;
using testutil::Session;

namespace {

constexpr int Side = 1440;  // every test picture: one inch square, 96 pixels

QByteArray bytes(const WmfWriter& w) {
    const std::string b = w.bytes();
    return QByteArray(b.data(), qsizetype(b.size()));
}

Metafile metafile(const WmfWriter& w) {
    QString error;
    std::optional<Metafile> m = Metafile::read(bytes(w), &error);
    if (!m) qFatal("test picture rejected: %s", qPrintable(error));
    return std::move(*m);
}

// The picture played onto a white 96 x 96 image.
QImage render(const WmfWriter& w) {
    QImage image(96, 96, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    metafile(w).play(p, QRectF(0, 0, 96, 96));
    return image;
}

// Where the dark pixels of an image lie.
QRect inked(const QImage& image) {
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) r |= QRect(x, y, 1, 1);
    return r;
}

WmfWriter page() {
    WmfWriter w(Side, Side);
    w.windowOrg(0, 0);
    w.windowExt(Side, Side);
    w.bkMode(1);
    return w;
}

}  // namespace

class PagesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testutil::initApp(); }
    void cleanup() { Session::reset(); }

    void shapesPensAndBrushes() {
        WmfWriter w = page();
        const int red = w.brush(0, WmfWriter::rgb(255, 0, 0)), thick = w.pen(0, 60, WmfWriter::rgb(0, 0, 255));
        w.select(red);
        w.select(thick);
        w.rectangle(150, 150, 600, 600);
        const int none = w.brush(1, 0), noPen = w.pen(5, 0, 0);
        w.select(none);
        w.ellipse(800, 150, 1300, 600);
        w.select(noPen);
        w.select(red);
        w.remove(thick);
        w.polygon({{150, 800}, {600, 800}, {375, 1300}});
        const QImage img = render(w);
        QCOMPARE(img.pixelColor(25, 25), QColor(255, 0, 0));       // inside the rectangle
        QCOMPARE(img.pixelColor(10, 25), QColor(0, 0, 255));       // its thick blue border
        QCOMPARE(img.pixelColor(70, 25), QColor(Qt::white));        // the ellipse is not filled
        QCOMPARE(img.pixelColor(25, 65), QColor(255, 0, 0));       // the triangle, drawn without a pen
        QCOMPARE(img.pixelColor(5, 90), QColor(Qt::white));
    }

    void naturalSizeAndClipping() {
        QCOMPARE(metafile(WmfWriter(2880, 1440, 576)).sizeTwips(), QSizeF(7200, 3600));  // 5 inches by 2.5
        WmfWriter c = page();
        c.select(c.brush(0, 0));
        c.record(0x001E, {});                 // save
        c.record(0x0416, {1440, 720, 0, 0});  // clip to the left half
        c.rectangle(0, 0, 1440, 720);         // the top: clipped to its left half
        c.record(0x0127, {-1});               // restore: no clip
        c.rectangle(0, 720, 1440, 1440);      // the bottom: whole
        const QImage img = render(c);
        QVERIFY(qGray(img.pixel(20, 20)) < 128 && qGray(img.pixel(70, 70)) < 128);
        QCOMPARE(img.pixelColor(70, 20), QColor(Qt::white));
    }

    void textAlignmentAndSpacing() {
        const auto run = [](int align, std::vector<int16_t> dx = {}, int x = 720) {
            WmfWriter w = page();
            w.textAlign(align);
            w.select(w.font(-240, 400, "Arial"));
            w.extText(x, 720, "IIII", dx);
            return inked(render(w));
        };
        const QRect left = run(24), right = run(24 | 2), centre = run(24 | 6), top = run(0);
        QVERIFY(left.left() >= 47 && left.left() <= 50);  // starts at the reference point
        QVERIFY(right.right() <= 48 && right.right() >= 44);  // ends at it
        QVERIFY(std::abs(centre.center().x() - 48) <= 2);
        QVERIFY(left.bottom() <= 48 && top.top() >= 48);  // on the baseline, or hanging from the top
        // A spacing array of 360 twips (24 pixels) a letter spreads the letters out.
        const QRect spread = run(24, {360, 360, 360, 360}, 100);
        QVERIFY(spread.width() >= 70 && spread.width() > 3 * left.width());
    }

    void textInTheFontsCodePage() {
        WmfWriter w = page();
        w.select(w.font(-200, 400, "Times New Roman", false, 161));
        w.text(100, 700, "\xC5\xF5\xEA\xEB\xE5\xDF\xE4\xE7\xF2");  // Windows-1253
        w.select(w.font(-200, 400, "Times New Roman", false, 0));
        w.extText(100, 1000, "caf\xE9 \x80");  // Windows-1252
        w.select(w.font(-200, 400, "Symbol", false, 2));
        w.text(100, 1300, "p\xB9\xA5");
        QCOMPARE(metafile(w).texts(),
                 (QStringList{QStringLiteral("Ευκλείδης"), QStringLiteral("café €"), QStringLiteral("π≠∞")}));
    }

    void bitmapsStretchIntoPlace() {
        // A 2 x 2 bitmap, bottom row first: blue, white; top row: red, green.
        WmfWriter w = page();
        std::string dib;
        const auto put32 = [&dib](uint32_t v) {
            for (int i = 0; i < 4; ++i) dib += char((v >> (8 * i)) & 0xFF);
        };
        for (uint32_t v : {40u, 2u, 2u}) put32(v);
        dib += std::string("\x01\x00\x18\x00", 4);
        for (int i = 0; i < 6; ++i) put32(0);
        dib += std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8);  // blue, white, padding
        dib += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // red, green, padding
        // SRCCOPY as two words, then usage, source and destination.
        w.record(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 1440, 1440, 0, 0}, dib);
        const QImage img = render(w);
        QCOMPARE(img.pixelColor(20, 20), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(70, 20), QColor(0, 255, 0));
        QCOMPARE(img.pixelColor(20, 70), QColor(0, 0, 255));
        QCOMPARE(img.pixelColor(70, 70), QColor(255, 255, 255));
    }

    void metafilesThatLie_data() {
        QTest::addColumn<QByteArray>("file");
        WmfWriter good = page();
        good.rectangle(0, 0, 10, 10);
        const QByteArray ok = bytes(good);
        QTest::newRow("not placeable") << QByteArray("\x01\x00\x09\x00", 4) + ok.mid(22);
        QTest::newRow("truncated record") << ok.left(ok.size() - 10);
        QByteArray zero = ok;
        qToLittleEndian<quint32>(0, zero.data() + 40);
        QTest::newRow("record size 0") << zero;
        WmfWriter select = page();
        select.select(7);
        QTest::newRow("object index out of range") << bytes(select);
        WmfWriter huge = page();
        huge.record(0x0324, {30000, 1, 2, 3, 4});
        QTest::newRow("a count the record cannot hold") << bytes(huge);
        WmfWriter text = page();
        text.record(0x0521, {400, 0x4141});
        QTest::newRow("text longer than its record") << bytes(text);
    }
    void metafilesThatLie() {
        QFETCH(QByteArray, file);
        QVERIFY(!Metafile::read(file));
        Session s;
        s.write(QStringLiteral("wmf/bad.wmf"), file);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadPicture(QStringLiteral("wmf\\bad.wmf")));
    }

    void guidePagesThroughClicks() {
        Session s;
        forms::intro0->Show();
        testutil::click(forms::intro0->Label2(20));
        guide* g = forms::guide.instance();
        QCOMPARE(Stage::instance()->front(), g);
        QCOMPARE(g->Label1->Caption(), QStringLiteral("Page 1 of 3"));
        QVERIFY(!g->Label3(3)->Enabled() && g->Label3(2)->Enabled());
        QVERIFY(g->Image1->picture().metafile() && g->Image2->picture().metafile());
        // The page lies beneath the buttons and the caption: a click on them reaches them.
        for (Control* c : {(Control*)g->Label3(0), (Control*)g->Label3(2), (Control*)g->Label1()})
            QCOMPARE(g->clientArea()->childAt(c->widget()->geometry().center()), c->widget());
        testutil::screenshot(QStringLiteral("guide-1"));
        testutil::click(g->Label3(2));
        QVERIFY(g->Label3(2)->Enabled() && g->Label3(3)->Enabled());
        testutil::screenshot(QStringLiteral("guide-2"));
        testutil::click(g->Label3(2));
        QCOMPARE(g->Label1->Caption(), QStringLiteral("Page 3 of 3"));
        QVERIFY(!g->Label3(2)->Enabled() && g->Label3(3)->Enabled());
        QCOMPARE(g->Image1->picture().metafile(), LoadPicture(QStringLiteral("wmf\\guide3.wmf")).metafile());
        testutil::screenshot(QStringLiteral("guide-3"));
        testutil::click(g->Label3(2));  // disabled: nothing
        QCOMPARE(PageNumber, 3);
        testutil::click(g->Label3(1));
        QVERIFY(!forms::guide.loaded());
        QCOMPARE(Stage::instance()->front(), forms::intro0.instance());
    }

    void topicPagesThroughClicks_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("stem");
        QTest::newRow("Key Facts") << 4 << 3 << "key euclid";
        QTest::newRow("Teacher's Notes") << 5 << 2 << "euclid";
    }
    void topicPagesThroughClicks() {
        QFETCH(int, entry);
        QFETCH(int, pages);
        QFETCH(QString, stem);
        Session s;
        forms::intro0->Show();
        forms::euclid->Show();
        testutil::click(forms::euclid->label3(entry));
        teacher* t = forms::teacher.instance();
        QCOMPARE(Stage::instance()->front(), t);
        for (int n = 1; n <= pages; ++n) {
            const QString letter = QChar(u'a' + n - 1);
            QCOMPARE(t->Label1->Caption(), QStringLiteral("Page %1 of %2").arg(n).arg(pages));
            QCOMPARE(t->Label3(3)->Enabled(), n > 1);
            QCOMPARE(t->Label3(2)->Enabled(), n < pages);
            QCOMPARE(t->Image1->picture().metafile(),
                     LoadPicture(QStringLiteral("wmf\\") + stem + letter + QStringLiteral(".wmf")).metafile());
            testutil::screenshot(QStringLiteral("%1-%2").arg(stem == QLatin1String("euclid") ? "notes" : "keyfacts").arg(n));
            testutil::click(t->Label3(2));
        }
        testutil::click(t->Label3(3));
        QCOMPARE(PageNumber, pages - 1);
        testutil::click(t->Label3(1));
        QVERIFY(!forms::teacher.loaded());
        QCOMPARE(Stage::instance()->front(), forms::euclid.instance());
    }

    void acknowledgmentsAnimateAndCarryOn() {
        Session s;
        LogoFrame = 17;
        forms::intro0->Show();
        testutil::click(forms::intro0->Label2(19));
        teacher* t = forms::teacher.instance();
        QVERIFY(!t->Label1->Visible() && !t->Label3(2)->Visible() && !t->Label3(3)->Visible());
        QTRY_VERIFY(LogoFrame == 1);  // 18, 19, 0, 1: round the loop
        QVERIFY(t->Picture1->Visible() && !t->Picture1->picture().isNull());
        testutil::screenshot(QStringLiteral("acknowledgments"));
        testutil::click(t->Label3(1));
        const int stopped = LogoFrame;
        QTest::qWait(100);
        QCOMPARE(LogoFrame, stopped);  // the timer went with the page
        testutil::click(forms::intro0->Label2(19));
        QTRY_VERIFY(LogoFrame == (stopped + 1) % 20);
    }

    void aMissingPageLeavesTheViewerWorking() {
        Session s;
        QVERIFY(QFile::remove(s.path(QStringLiteral("wmf/guide2.wmf"))));
        s.write(QStringLiteral("wmf2/guide2.wmf"), "damaged");
        forms::intro0->Show();
        testutil::click(forms::intro0->Label2(20));
        guide* g = forms::guide.instance();
        testutil::click(g->Label3(2));
        QVERIFY(g->Image1->picture().isNull() && g->Image2->picture().isNull());
        QCOMPARE(g->Label1->Caption(), QStringLiteral("Page 2 of 3"));
        testutil::click(g->Label3(2));
        QVERIFY(!g->Image1->picture().isNull());
        QVERIFY(s.messages.isEmpty());
    }

};

QTEST_MAIN(PagesTest)
#include "test_pages.moc"
