#include "platform/Printer.h"
#include "platform/Dialogs.h"
#include "platform/Theme.h"
#include "platform/Core.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QLoggingCategory>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QHash>
#include <QThread>
#include <QUrl>
#include <cups/cups.h>

Q_LOGGING_CATEGORY(lcPrinting, "vellacourt.printing")

namespace platform {

namespace {
RuntimeError printerError(const QString& why) { return RuntimeError(ErrPrinter, QStringLiteral("Printer error: ") + why); }

// The printing system, asked over a connection of our own that gives up after a few seconds: a
// print server that has stopped answering must not hold the window.
class PrintServer {
public:
    static constexpr int AnswerMs = 3000;

    PrintServer()
        : m_http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, AnswerMs, nullptr)) {
        if (m_http) httpSetTimeout(m_http, AnswerMs / 1000.0, [](http_t*, void*) { return 0; }, nullptr);
    }
    ~PrintServer() {
        if (m_http) httpClose(m_http);
    }
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    // The default queue, once it is there, not stopped and taking jobs. Qt cannot tell the last: a
    // queue that refuses jobs still lets a document begin and end as if it had printed.
    QString defaultQueue() {
        if (!m_http) throw printerError(QStringLiteral("the print server cannot be reached"));
        cups_dest_t* dest = cupsGetNamedDest(m_http, nullptr, nullptr);
        if (!dest) {
            if (httpError(m_http) != 0 || httpGetState(m_http) != HTTP_STATE_WAITING)
                throw printerError(QStringLiteral("the print server does not answer (%1)").arg(QString::fromLocal8Bit(strerror(httpError(m_http)))));
            throw printerError(QStringLiteral("there is no default printer"));
        }
        const QString queue = QString::fromUtf8(dest->name);
        const QString device = QString::fromUtf8(cupsGetOption("device-uri", dest->num_options, dest->options));
        const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
        const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
        const bool stopped = state && qstrcmp(state, "5") == 0, refusing = accepting && qstrcmp(accepting, "false") == 0;
        cupsFreeDests(1, dest);
        if (stopped) throw printerError(QStringLiteral("the printer is stopped"));
        if (refusing) throw printerError(QStringLiteral("the printer refuses jobs"));
        if (!reachable(device)) throw printerError(QStringLiteral("the printer at %1 cannot be reached").arg(device));
        return queue;
    }

    // Whether a printer on the network answers at its address. Asked only of a print server on this
    // computer, which reaches the printer as we do; the printing system itself would keep the job
    // waiting for it and report nothing but a message.
    static bool reachable(const QString& device) {
        const QString server = QString::fromUtf8(cupsServer());
        if (!server.startsWith(QLatin1Char('/')) && server != QLatin1String("localhost") && server != QLatin1String("127.0.0.1"))
            return true;
        const QUrl url(device);
        static const QHash<QString, int> ports{{QStringLiteral("ipp"), 631},  {QStringLiteral("ipps"), 631},
                                               {QStringLiteral("http"), 80},  {QStringLiteral("https"), 443},
                                               {QStringLiteral("socket"), 9100}, {QStringLiteral("lpd"), 515}};
        if (!ports.contains(url.scheme()) || url.host().isEmpty()) return true;
        http_addrlist_t* addresses = httpAddrGetList(url.host().toUtf8().constData(), AF_UNSPEC,
                                                     QByteArray::number(url.port(ports[url.scheme()])).constData());
        if (!addresses) return false;
        int socket = -1;
        http_addrlist_t* connected = httpAddrConnect2(addresses, &socket, AnswerMs, nullptr);
        if (connected) httpAddrClose(nullptr, socket);
        httpAddrFreeList(addresses);
        return connected != nullptr;
    }

    // The newest job of this title on the queue, or 0; its state in `state`.
    int job(const QString& queue, const QString& title, ipp_jstate_t* state) {
        cups_job_t* jobs = nullptr;
        const int n = cupsGetJobs2(m_http, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
        int id = 0;
        for (int i = 0; i < n; ++i)
            if (title == QString::fromUtf8(jobs[i].title) && jobs[i].id > id) {
                id = jobs[i].id;
                *state = jobs[i].state;
            }
        cupsFreeJobs(n, jobs);
        return id;
    }

    // Why the queue's printer cannot be reached just now, or empty.
    QString unreachable(const QString& queue) {
        cups_dest_t* dest = cupsGetNamedDest(m_http, queue.toUtf8().constData(), nullptr);
        if (!dest) return QStringLiteral("the print server stopped answering");
        const QString reasons =
            QString::fromUtf8(cupsGetOption("printer-state-reasons", dest->num_options, dest->options));
        const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
        const bool stopped = state && qstrcmp(state, "5") == 0;
        cupsFreeDests(1, dest);
        for (const char* bad : {"connecting-to-device", "offline", "timed-out", "shutdown"})
            if (reasons.contains(QLatin1String(bad))) return QStringLiteral("the printer cannot be reached (%1)").arg(reasons);
        return stopped ? QStringLiteral("the printer stopped") : QString();
    }

    void cancel(const QString& queue, int id) { cupsCancelJob2(m_http, queue.toUtf8().constData(), id, 0); }

    // Waits a moment for the printer to take the job: done when it has printed, or has been printing
    // for a while with its printer reached. A printer that cannot be reached fails, the job cancelled.
    void waitForPrinter(const QString& queue, const QString& title) {
        ipp_jstate_t state = IPP_JSTATE_PENDING;
        const int id = job(queue, title, &state);
        if (!id || state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED)
            throw printerError(QStringLiteral("the printing system did not take the job"));
        QElapsedTimer waited;
        waited.start();
        for (int printing = 0; state != IPP_JSTATE_COMPLETED && waited.elapsed() < AnswerMs;) {
            if (const QString why = unreachable(queue); !why.isEmpty()) {
                cancel(queue, id);
                throw printerError(why);
            }
            if (state == IPP_JSTATE_PROCESSING && ++printing >= 3) return;
            QThread::msleep(100);
            if (!job(queue, title, &state)) throw printerError(QStringLiteral("the print server stopped answering"));
            if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED)
                throw printerError(QStringLiteral("the job was cancelled"));
        }
    }

private:
    http_t* m_http;
};
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
    // Asked first with a short wait: Qt's own questions to the print server wait a minute for it.
    m_queue = PrintServer().defaultQueue();
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_queue);
    if (info.isNull()) throw printerError(QStringLiteral("the printer went away"));
    static int documents = 0;
    m_docName = QStringLiteral("Vellacourt Numerists %1-%2").arg(QCoreApplication::applicationPid()).arg(++documents);
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    m_printer->setDocName(m_docName);
    m_printer->setFullPage(false);
    m_printer->setColorMode(QPrinter::Color);  // the certificate is in colour; a grey printer makes it grey itself
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        m_printer.reset();
        throw printerError(QStringLiteral("the printer cannot be opened"));
    }
    m_x = m_y = 0;
}

double Printer::toDevice(double twips) const { return twips * m_printer->resolution() / TwipsPerInch; }

QFont Printer::deviceFont() const {
    QFont f(m_family);
    f.setPointSizeF(m_points);
    f.setBold(m_bold);
    return f;
}

void Printer::SetFontName(const QString& family) { m_family = family; }
void Printer::SetFontSize(double points) { m_points = points; }
void Printer::SetFontBold(bool bold) { m_bold = bold; }

float Printer::ScaleWidth() {
    begin();
    return float(m_printer->pageRect(QPrinter::DevicePixel).width() * TwipsPerInch / m_printer->resolution());
}

float Printer::ScaleHeight() {
    begin();
    return float(m_printer->pageRect(QPrinter::DevicePixel).height() * TwipsPerInch / m_printer->resolution());
}

float Printer::TextWidth(const QString& text) {
    begin();
    const QFontMetricsF fm(deviceFont(), m_printer.get());
    return float(fm.horizontalAdvance(text) * TwipsPerInch / m_printer->resolution());
}

void Printer::Print(const QString& text, bool lineEnd) {
    begin();
    const QFont font = deviceFont();
    const QFontMetricsF fm(font, m_printer.get());
    const float lineHeight = float(fm.lineSpacing() * TwipsPerInch / m_printer->resolution());
    if (m_y + lineHeight > ScaleHeight() && m_y > 0) {
        if (!m_printer->newPage()) throw printerError(QStringLiteral("a new page could not be started"));
        m_y = 0;
    }
    m_painter->setFont(font);
    m_painter->setPen(toQColor(m_colour));
    m_painter->drawText(QPointF(toDevice(m_x), toDevice(m_y) + fm.ascent()), text);
    if (lineEnd) {
        m_x = 0;
        m_y += lineHeight;
    } else {
        m_x += float(fm.horizontalAdvance(text) * TwipsPerInch / m_printer->resolution());
    }
}

// Lines are as wide as on a screen of 96 pixels to the inch, so they look the same on any printer.
void Printer::Line(float x1, float y1, float x2, float y2, quint32 bgr) {
    begin();
    QPen pen(toQColor(bgr));
    pen.setWidthF(m_drawWidth * m_printer->resolution() / 96.0);
    pen.setCapStyle(Qt::SquareCap);
    m_painter->setPen(pen);
    m_painter->drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
}

void Printer::PaintPicture(const Picture& picture, float x, float y) {
    begin();
    const QSizeF size = picture.sizeTwips();
    picture.draw(*m_painter, QRectF(toDevice(x), toDevice(y), toDevice(size.width()), toDevice(size.height())));
}

void Printer::EndDoc() {
    begin();
    resetSettings();
    const bool ended = m_painter->end();
    m_painter.reset();
    m_printer.reset();
    if (!ended) throw printerError(QStringLiteral("the document could not be sent"));
    PrintServer().waitForPrinter(m_queue, m_docName);
}

// The next document starts from the printer's own font, colour and line width, not this one's.
void Printer::resetSettings() {
    m_family = QStringLiteral("Times New Roman");
    m_points = 12;
    m_bold = false;
    m_colour = 0;
    m_drawWidth = 1;
}

void Printer::KillDoc() {
    resetSettings();
    if (!m_painter) return;
    m_printer->abort();
    m_painter->end();
    m_painter.reset();
    m_printer.reset();
}

bool PrintDocument(const std::function<void(Printer&)>& draw) {
    Printer& printer = Printer::one();
    try {
        draw(printer);
        printer.EndDoc();
        return true;
    } catch (const std::exception& e) {
        qCWarning(lcPrinting, "%s", e.what());
        printer.KillDoc();
        MsgBox(QStringLiteral("There was a problem printing to your printer."));
        return false;
    }
}

}  // namespace platform
