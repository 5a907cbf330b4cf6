#include "platform/printing/Printer.h"
#include "platform/printing/CupsLibrary.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Theme.h"
#include "platform/files/Core.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QFutureWatcher>
#include <QHash>
#include <QLoggingCategory>
#include <QPainter>
#include <QPdfWriter>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <QtConcurrent>
#include <atomic>
#include <netdb.h>
#include <optional>
#include <paper.h>

Q_LOGGING_CATEGORY(lcPrinting, "vellacourt.printing")

namespace platform {

namespace {
RuntimeError printerError(const QString& why) { return RuntimeError(ErrPrinter, QStringLiteral("Printer error: ") + why); }

// A whole print, from asking for the printer to the job's first state, has this long; each request
// to the print server may take what is left of it, so a slow server is waited for and a silent one
// is given up in time. The printing thread ends its own work a moment before the window stops waiting.
constexpr int PrintingMs = 4500;
constexpr int AnswerBeforeMs = 250;
constexpr int ResolutionDpi = 1200;

// A host name looked up within a time limit: a name server that does not answer must not hold a
// print for the resolver's own minutes.
bool resolvesWithin(const QByteArray& host, int ms) {
    // On the heap: a lookup that cannot be cancelled goes on writing into it after we stop waiting.
    auto* request = new gaicb{};
    auto* kept = new QByteArray(host);
    request->ar_name = kept->constData();
    gaicb* list[] = {request};
    if (getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr) != 0) {
        delete request;
        delete kept;
        return false;
    }
    const timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    gai_suspend(list, 1, &wait);
    if (gai_error(request) == EAI_INPROGRESS && gai_cancel(request) != EAI_CANCELED) {
        qCWarning(lcPrinting, "looking up %s took longer than %d ms", host.constData(), ms);
        return false;  // the resolver still holds the request and its name: both are left to it
    }
    const bool found = gai_error(request) == 0;
    if (request->ar_result) freeaddrinfo(request->ar_result);
    delete request;
    delete kept;
    return found;
}

// The printer the document is made for: the default queue, once it is there, not stopped and
// taking jobs, and its default paper.
struct Setup {
    QString queue, problem;
    QPageSize size;
    QMarginsF margins;  // points
};

// What became of a job sent whole or in part.
struct Outcome {
    enum Kind { Printing, Unconfirmed, Failed } kind = Failed;
    QString why;
};

// The printing system, asked over a connection of our own that gives up after a few seconds. Used
// only off the window's thread.
class PrintServer {
public:
    explicit PrintServer(QDeadlineTimer deadline) : m_deadline(deadline) {
        if (!cups) return;
        cups->cupsSetServer(nullptr);  // this thread's last answer forgotten: the server may have changed since
        const QByteArray server = cups->cupsServer();
        // A server named by its host is looked up first within the time limit.
        if (!server.startsWith('/') && !resolvesWithin(server.left(server.indexOf(':') < 0 ? server.size() : server.indexOf(':')), left())) return;
        m_http = cups->httpConnect2(cups->cupsServer(), cups->ippPort(), nullptr, AF_UNSPEC, cups->cupsEncryption(), 1, left(), nullptr);
        // Asked again every quarter second whether to go on waiting: until the print's time is up.
        if (m_http)
            cups->httpSetTimeout(m_http, 0.25, [](http_t*, void* self) { return static_cast<PrintServer*>(self)->left() > 0 ? 1 : 0; }, this);
    }
    ~PrintServer() {
        if (m_http) cups->httpClose(m_http);
    }
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    Setup setup() {
        Setup s;
        if (!m_http) {
            s.problem = cups ? QStringLiteral("the print server cannot be reached") : QStringLiteral("the printing library cannot be loaded");
            return s;
        }
        cups_dest_t* dest = cups->cupsGetNamedDest(m_http, nullptr, nullptr);
        if (!dest) {
            s.problem = cups->httpError(m_http) != 0 || cups->httpGetState(m_http) != HTTP_STATE_WAITING
                            ? QStringLiteral("the print server does not answer (%1)").arg(QString::fromLocal8Bit(strerror(cups->httpError(m_http))))
                            : QStringLiteral("there is no default printer");
            return s;
        }
        s.queue = QString::fromUtf8(dest->name);
        const QString device = QString::fromUtf8(cups->cupsGetOption("device-uri", dest->num_options, dest->options));
        const char* state = cups->cupsGetOption("printer-state", dest->num_options, dest->options);
        const char* accepting = cups->cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
        if (state && qstrcmp(state, "5") == 0) s.problem = QStringLiteral("the printer is stopped");
        else if (accepting && qstrcmp(accepting, "false") == 0) s.problem = QStringLiteral("the printer refuses jobs");
        else if (!reachable(device)) s.problem = QStringLiteral("the printer at %1 cannot be reached").arg(device);
        else paper(dest, s);
        cups->cupsFreeDests(1, dest);
        return s;
    }

    // Sends a document as one job, in one request, and waits a moment for the printer to take it: a
    // request cut short leaves no job behind, and once it is sent whole only the server's own answer
    // can say it failed. `sent` is set then; `abandoned`, once nobody waits for the answer any more.
    Outcome send(const QString& queue, const QString& title, const QByteArray& pdf, std::atomic<bool>& sent,
                 const std::atomic<bool>& abandoned) {
        if (!m_http) return {Outcome::Failed, QStringLiteral("the print server cannot be reached")};
        const QByteArray q = queue.toUtf8(), t = title.toUtf8(), resource = "/printers/" + q;
        char uri[HTTP_MAX_URI];
        cups->httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", cups->ippPort(), "/printers/%s", q.constData());
        ipp_t* request = cups->ippNewRequest(IPP_OP_PRINT_JOB);
        cups->ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        cups->ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cups->cupsUser());
        cups->ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, t.constData());
        cups->ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
        bool written = !abandoned && cups->cupsSendRequest(m_http, request, resource.constData(), cups->ippLength(request) + size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
        cups->ippDelete(request);
        for (qsizetype at = 0; written && at < pdf.size(); at += 65536)
            written = !abandoned && cups->cupsWriteRequestData(m_http, pdf.constData() + at, size_t(std::min<qsizetype>(65536, pdf.size() - at))) == HTTP_STATUS_CONTINUE;
        if (!written) return {Outcome::Failed, QStringLiteral("the document could not be sent")};
        sent = true;
        ipp_t* response = cups->cupsGetResponse(m_http, resource.constData());
        if (!response) return {Outcome::Unconfirmed, QStringLiteral("the print server did not answer the job")};
        const bool taken = cups->ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING;
        const int id = cups->ippGetInteger(cups->ippFindAttribute(response, "job-id", IPP_TAG_INTEGER), 0);
        cups->ippDelete(response);
        if (!taken) return {Outcome::Failed, QStringLiteral("the job was refused: %1").arg(QString::fromUtf8(cups->cupsLastErrorString()))};
        if (!id) return {Outcome::Unconfirmed, QStringLiteral("the print server did not say which job it made")};
        return waitForPrinter(queue, id);
    }

private:
    // The queue's default paper and the margins its printer cannot print in, in the printing system's
    // own order: the user's choice for this queue (their lpoptions, which the destination carries),
    // then the queue's own default (media-default, which a PPD queue takes from its default page
    // size; media-col-default where only that is stated: it can lag behind media-default). Where the
    // queue says nothing (a raw queue), the computer's paper, else A4. The margins are the printer's
    // own where it states them, else the sixth of an inch most printers leave.
    // (cupsGetDestMediaDefault is not asked: without the user's choice it answers US Letter whatever
    // the queue's default.)
    void paper(cups_dest_t* dest, Setup& s) {
        cups_dinfo_t* info = cups->cupsCopyDestInfo(m_http, dest);
        cups_size_t size{};
        const bool stated = named(dest, info, cups->cupsGetOption("media", dest->num_options, dest->options), size) ||
                            (info && named(dest, info, cups->ippGetString(cups->cupsFindDestDefault(m_http, dest, info, "media"), 0, nullptr), size)) ||
                            (info && collection(cups->cupsFindDestDefault(m_http, dest, info, "media-col"), size));
        if (info) cups->cupsFreeDestInfo(info);
        const auto points = [](int hundredthsMm) { return hundredthsMm / 2540.0 * 72; };
        s.size = stated ? QPageSize(QSizeF(points(size.width), points(size.length)), QPageSize::Point, QString(), QPageSize::FuzzyMatch)
                        : systemPaper();
        s.margins = size.left || size.right || size.top || size.bottom
                        ? QMarginsF(points(size.left), points(size.top), points(size.right), points(size.bottom))
                        : QMarginsF(12, 12, 12, 12);
    }

    // A paper named as the printing system or a user writes it ("iso_a4_210x297mm", "A4", "letter",
    // or "A4,Tray1" with a tray or a kind of paper): its size and margins as the queue lists it, else its
    // size alone. Margins that would leave less than half the paper are not the printer's.
    bool named(cups_dest_t* dest, cups_dinfo_t* info, const char* names, cups_size_t& size) {
        for (const QByteArray& name : QByteArray(names).split(',')) {
            const pwg_media_t* media = cups->pwgMediaForPWG(name.constData());
            if (!media) media = cups->pwgMediaForPPD(name.constData());
            if (!media) media = cups->pwgMediaForLegacy(name.constData());
            if (!media && !name.isEmpty())  // "a4", "letter" as the print server itself takes them
                media = cups->pwgMediaForPPD((name.left(1).toUpper() + name.mid(1).toLower()).constData());
            if (!media || !plausible(media->width) || !plausible(media->length)) continue;
            size = cups_size_t{};
            if (!info || !cups->cupsGetDestMediaByName(m_http, dest, info, media->pwg, CUPS_MEDIA_FLAGS_DEFAULT, &size) ||
                !marginsFit(size))
                size = cups_size_t{{}, media->width, media->length, 0, 0, 0, 0};
            return true;
        }
        return false;
    }

    // A paper of 5 cm to a metre a side: anything else is a mistake in the settings.
    static bool plausible(int hundredthsMm) { return hundredthsMm >= 5000 && hundredthsMm <= 100000; }
    static bool marginsFit(const cups_size_t& size) {
        return size.width > 0 && size.length > 0 && std::min({size.left, size.right, size.top, size.bottom}) >= 0 &&
               2 * (size.left + size.right) <= size.width && 2 * (size.top + size.bottom) <= size.length;
    }

    // A media-col value: its media-size and, where given, its margins.
    bool collection(ipp_attribute_t* attribute, cups_size_t& size) {
        ipp_t* media = cups->ippGetCollection(attribute, 0);
        ipp_t* dimensions = cups->ippGetCollection(cups->ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION), 0);
        const auto value = [this](ipp_t* in, const char* name) { return cups->ippGetInteger(cups->ippFindAttribute(in, name, IPP_TAG_INTEGER), 0); };
        size = cups_size_t{};
        size.width = value(dimensions, "x-dimension");
        size.length = value(dimensions, "y-dimension");
        size.left = value(media, "media-left-margin");
        size.right = value(media, "media-right-margin");
        size.top = value(media, "media-top-margin");
        size.bottom = value(media, "media-bottom-margin");
        if (!plausible(size.width) || !plausible(size.length)) return false;
        if (!marginsFit(size)) size.left = size.right = size.top = size.bottom = 0;
        return true;
    }

    // The computer's own paper as libpaper reads it (PAPERSIZE, PAPERCONF, /etc/papersize), else A4.
    static QPageSize systemPaper() {
        paperinit();
        QPageSize size(QPageSize::A4);
        if (char* name = systempapername()) {
            if (const struct paper* known = paperinfo(name); known && paperpswidth(known) > 0 && paperpsheight(known) > 0)
                size = QPageSize(QSizeF(paperpswidth(known), paperpsheight(known)), QPageSize::Point, QString(), QPageSize::FuzzyMatch);
            free(name);
        }
        paperdone();
        return size;
    }

    // Whether a printer on the network answers at its address. Asked only of a print server on this
    // computer, which reaches the printer as we do; the printing system itself would keep the job
    // waiting for it and report nothing but a message.
    bool reachable(const QString& device) {
        const QString server = QString::fromUtf8(cups->cupsServer());
        if (!server.startsWith(QLatin1Char('/')) && server != QLatin1String("localhost") && server != QLatin1String("127.0.0.1"))
            return true;
        const QUrl url(device);
        static const QHash<QString, int> ports{{QStringLiteral("ipp"), 631},  {QStringLiteral("ipps"), 631},
                                               {QStringLiteral("http"), 80},  {QStringLiteral("https"), 443},
                                               {QStringLiteral("socket"), 9100}, {QStringLiteral("lpd"), 515}};
        if (!ports.contains(url.scheme()) || url.host().isEmpty()) return true;
        const QByteArray host = url.host().toUtf8();
        if (!resolvesWithin(host, left())) return false;
        http_addrlist_t* addresses = cups->httpAddrGetList(host.constData(), AF_UNSPEC, QByteArray::number(url.port(ports[url.scheme()])).constData());
        if (!addresses) return false;
        int socket = -1;
        http_addrlist_t* connected = cups->httpAddrConnect2(addresses, &socket, left(), nullptr);
        if (connected) cups->httpAddrClose(nullptr, socket);
        cups->httpAddrFreeList(addresses);
        return connected != nullptr;
    }

    // The job's state, or nothing when the server does not say or no longer lists it.
    std::optional<ipp_jstate_t> state(const QString& queue, int id) {
        if (!m_http) return std::nullopt;
        cups_job_t* jobs = nullptr;
        const int n = cups->cupsGetJobs2(m_http, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
        if (n < 0) return std::nullopt;
        std::optional<ipp_jstate_t> found;
        for (int i = 0; i < n; ++i)
            if (jobs[i].id == id) found = jobs[i].state;
        cups->cupsFreeJobs(n, jobs);
        // A job the server lists no more may have printed and been forgotten: not known either way.
        return found;
    }

    // Why the queue's printer cannot be reached just now, or empty; nothing when the server does not say.
    std::optional<QString> unreachable(const QString& queue) {
        cups_dest_t* dest = cups->cupsGetNamedDest(m_http, queue.toUtf8().constData(), nullptr);
        if (!dest) return std::nullopt;
        const QString reasons = QString::fromUtf8(cups->cupsGetOption("printer-state-reasons", dest->num_options, dest->options));
        const char* st = cups->cupsGetOption("printer-state", dest->num_options, dest->options);
        const bool stopped = st && qstrcmp(st, "5") == 0;
        cups->cupsFreeDests(1, dest);
        for (const char* bad : {"connecting-to-device", "offline", "timed-out", "shutdown"})
            if (reasons.contains(QLatin1String(bad))) return QStringLiteral("the printer cannot be reached (%1)").arg(reasons);
        return stopped ? QStringLiteral("the printer stopped") : QString();
    }

    void cancel(const QString& queue, int id) {
        if (m_http) cups->cupsCancelJob2(m_http, queue.toUtf8().constData(), id, 0);
    }

    // Waits a moment for the printer to take the job: printing once it has printed, or has been
    // printing a while with its printer reached. A printer that cannot be reached fails, the job
    // cancelled; a server that stops answering leaves the job unconfirmed.
    Outcome waitForPrinter(const QString& queue, int id) {
        const Outcome unconfirmed{Outcome::Unconfirmed, QStringLiteral("the print server stopped answering")};
        for (int printing = 0; left() > LastAskMs;) {
            const auto now = state(queue, id);
            if (!now) return unconfirmed;
            if (*now == IPP_JSTATE_CANCELED || *now == IPP_JSTATE_ABORTED) return {Outcome::Failed, QStringLiteral("the job was cancelled")};
            if (*now == IPP_JSTATE_COMPLETED) return {Outcome::Printing, QString()};
            const auto why = unreachable(queue);
            if (!why) return unconfirmed;
            if (!why->isEmpty()) {
                cancel(queue, id);
                return {Outcome::Failed, *why};
            }
            if (*now == IPP_JSTATE_PROCESSING && ++printing >= 3) return {Outcome::Printing, QString()};
            QThread::msleep(100);
        }
        return {Outcome::Printing, QString()};  // queued behind other jobs, its printer reached
    }

    static constexpr int LastAskMs = 500;  // time for one more question to a server that answers
    int left() const { return int(std::max<qint64>(0, m_deadline.remainingTime())); }

    QDeadlineTimer m_deadline;
    const CupsLibrary* const cups = cupsLibrary();
    http_t* m_http = nullptr;
};

// Swallows the pupil's input while a print is on its way: the window goes on drawing, and a click
// meant for the screen is not taken by another one half-way through a print.
class InputHeld : public QObject {
public:
    InputHeld() {
        qApp->installEventFilter(this);
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    }
    ~InputHeld() override {
        QGuiApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::ShortcutOverride: case QEvent::Shortcut:
        case QEvent::Wheel: case QEvent::TouchBegin: case QEvent::TouchUpdate: case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }
};

// The print server's work, done by a thread of printing's own while the window goes on; false when
// `ms` passed first (the work then ends by itself, bounded by its own time limits).
QThreadPool& printingThreads() {
    static QThreadPool pool;
    return pool;
}

template <typename T>
std::optional<T> offTheWindow(std::function<T()> work, int ms) {
    QFutureWatcher<T> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<T>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(&printingThreads(), std::move(work)));
    if (!watcher.isFinished()) {
        InputHeld held;
        QTimer::singleShot(std::max(0, ms), &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!watcher.isFinished()) return std::nullopt;
    return watcher.result();
}
}  // namespace

Printer& Printer::one() {
    static Printer printer;
    return printer;
}

Printer::Printer() = default;

// The document begins at the first thing that needs the printer, once the printer is known to be
// there and willing.
void Printer::begin() {
    if (m_painter) return;
    m_clock.start();
    const QDeadlineTimer worker(PrintingMs - AnswerBeforeMs);
    const auto setup = offTheWindow<Setup>([worker] { return PrintServer(worker).setup(); }, PrintingMs);
    if (!setup) throw printerError(QStringLiteral("the print server does not answer"));
    if (!setup->problem.isEmpty()) throw printerError(setup->problem);
    static int documents = 0;
    m_queue = setup->queue;
    m_pageSize = setup->size;
    m_margins = setup->margins;
    m_docName = QStringLiteral("Vellacourt Numerists %1-%2").arg(QCoreApplication::applicationPid()).arg(++documents);
    m_pdf.close();
    m_pdf.setData(QByteArray());
    m_pdf.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_pdf);
    m_writer->setResolution(ResolutionDpi);
    m_writer->setPageLayout(QPageLayout(m_pageSize, QPageLayout::Portrait, m_margins, QPageLayout::Point));
    m_writer->setTitle(m_docName);
    m_writer->setCreator(ProgramTitle);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        m_painter.reset();
        m_writer.reset();
        throw printerError(QStringLiteral("the document cannot be made"));
    }
    m_x = m_y = 0;
}

double Printer::resolution() const { return m_writer->resolution(); }
QRectF Printer::paintRect() const { return m_writer->pageLayout().paintRectPixels(m_writer->resolution()); }
double Printer::toDevice(double twips) const { return twips * resolution() / TwipsPerInch; }
double Printer::toTwips(double device) const { return device * TwipsPerInch / resolution(); }

QFont Printer::deviceFont() const {
    QFont f(m_family);
    f.setPointSizeF(m_points);
    f.setBold(m_bold);
    return f;
}

void Printer::setFontName(const QString& family) { m_family = family; }
void Printer::setFontSize(double points) { m_points = points; }
void Printer::setFontBold(bool bold) { m_bold = bold; }

float Printer::printableWidth() {
    begin();
    return float(toTwips(paintRect().width()));
}

float Printer::printableHeight() {
    begin();
    return float(toTwips(paintRect().height()));
}

float Printer::textWidth(const QString& text) {
    begin();
    const QFontMetricsF fm(deviceFont(), m_writer.get());
    return float(toTwips(fm.horizontalAdvance(text)));
}

float Printer::lineHeight() {
    begin();
    return float(toTwips(QFontMetricsF(deviceFont(), m_writer.get()).lineSpacing()));
}

void Printer::print(const QString& text, bool lineEnd) {
    begin();
    const QFont font = deviceFont();
    const QFontMetricsF fm(font, m_writer.get());
    const float lineHeight = float(toTwips(fm.lineSpacing()));
    if (m_y + lineHeight > printableHeight() && m_y > 0) {
        if (!m_writer->newPage()) throw printerError(QStringLiteral("a new page could not be started"));
        m_y = 0;
    }
    // Text past the right edge of the printable area is lost a word at a time, so no letter is cut
    // at the edge of the paper, whatever its size.
    const auto inked = [](QString t) {
        while (!t.isEmpty() && t.back().isSpace()) t.chop(1);
        return t;
    };
    QString shown = inked(text);
    // (A line set flush with the right edge by its own width may measure a hair over: a twip is allowed.)
    const double room = paintRect().width() - toDevice(m_x) + toDevice(1);
    while (!shown.isEmpty() && fm.horizontalAdvance(shown) > room) shown = inked(shown.left(std::max<qsizetype>(0, shown.lastIndexOf(u' '))));
    m_painter->setFont(font);
    m_painter->setPen(toQColor(m_colour));
    m_painter->drawText(QPointF(toDevice(m_x), toDevice(m_y) + fm.ascent()), shown);
    if (lineEnd) {
        m_x = 0;
        m_y += lineHeight;
    } else {
        m_x += float(toTwips(fm.horizontalAdvance(text)));
    }
}

void Printer::newPage() {
    begin();
    if (!m_writer->newPage()) throw printerError(QStringLiteral("a new page could not be started"));
    m_x = m_y = 0;
}

void Printer::printCentred(const QString& text) {
    setCurrentX((printableWidth() - textWidth(text)) / 2);
    print(text);
}

// Lines are as wide as on a screen of 96 pixels to the inch, so they look the same on any printer.
void Printer::line(float x1, float y1, float x2, float y2, quint32 bgr) {
    begin();
    QPen pen(toQColor(bgr));
    pen.setWidthF(m_drawWidth * resolution() / 96.0);
    pen.setCapStyle(Qt::SquareCap);
    m_painter->setPen(pen);
    m_painter->drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
}

void Printer::paintPicture(const Picture& picture, float x, float y) {
    begin();
    const QSizeF size = picture.sizeTwips();
    picture.draw(*m_painter, QRectF(toDevice(x), toDevice(y), toDevice(size.width()), toDevice(size.height())));
}

void Printer::paintPicture(const Picture& picture, float x, float y, float width, float height) {
    begin();
    picture.draw(*m_painter, QRectF(toDevice(x), toDevice(y), toDevice(width), toDevice(height)));
}

Printer::Sent Printer::endDocument() {
    begin();
    resetSettings();
    const bool ended = m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_pdf.close();
    const QByteArray pdf = m_pdf.data();
    m_pdf.setData(QByteArray());
    if (!ended) throw printerError(QStringLiteral("the document could not be made"));
    // Shared with the sending thread, which may outlive this wait.
    struct Progress {
        std::atomic<bool> sent{false}, abandoned{false};
    };
    const auto progress = std::make_shared<Progress>();
    const auto outcome = offTheWindow<Outcome>(
        [progress, queue = m_queue, title = m_docName, pdf, worker = QDeadlineTimer(PrintingMs - AnswerBeforeMs - m_clock.elapsed())] {
            return PrintServer(worker).send(queue, title, pdf, progress->sent, progress->abandoned);
        },
        int(PrintingMs - m_clock.elapsed()));
    if (!outcome) {
        progress->abandoned = true;
        if (progress->sent) return Sent::Unconfirmed;
        throw printerError(QStringLiteral("the print server did not take the job in time"));
    }
    if (outcome->kind == Outcome::Failed) throw printerError(outcome->why);
    if (outcome->kind == Outcome::Unconfirmed) {
        qCWarning(lcPrinting, "%s: %s", qPrintable(m_docName), qPrintable(outcome->why));
        return Sent::Unconfirmed;
    }
    return Sent::Printing;
}

// The next document starts from the printer's own font, colour and line width, not this one's.
void Printer::resetSettings() {
    m_family = QStringLiteral("Times New Roman");
    m_points = 12;
    m_bold = false;
    m_colour = 0;
    m_drawWidth = 1;
}

// Nothing has left the program before the document ends, so abandoning it is dropping it.
void Printer::abandonDocument() {
    resetSettings();
    if (!m_painter) return;
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_pdf.close();
    m_pdf.setData(QByteArray());
}

bool PrintDocument(const std::function<void(Printer&)>& draw) {
    Printer& printer = Printer::one();
    try {
        draw(printer);
        if (printer.endDocument() == Printer::Sent::Printing) return true;
        showMessage(
            QStringLiteral("Your document was sent to the printer, but the printer has not confirmed it. "
                           "Please look at the printer before you print it again."));
        return false;
    } catch (const std::exception& e) {
        qCWarning(lcPrinting, "%s", e.what());
        printer.abandonDocument();
        showMessage(QStringLiteral("There was a problem printing to your printer."));
        return false;
    }
}

}  // namespace platform
