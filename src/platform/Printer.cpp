#include "platform/Printer.h"
#include "platform/Vb.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cups/cups.h>

namespace platform {

namespace {
RuntimeError printerError(const QString& why) { return RuntimeError(ErrPrinter, QStringLiteral("Printer error: ") + why); }

// Whether the printing system takes jobs for this queue now. Qt cannot tell: a queue that refuses
// jobs still lets a document begin and end as if it had printed.
bool acceptingJobs(const QString& queue) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr);
    if (!dest) return false;
    const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool ok = !accepting || qstrcmp(accepting, "false") != 0;
    cupsFreeDests(1, dest);
    return ok;
}

// Whether the printing system holds a job of this title on the queue, not cancelled or aborted.
bool jobTaken(const QString& queue, const QString& title) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    bool found = false;
    for (int i = 0; i < n; ++i)
        if (title == QString::fromUtf8(jobs[i].title) && jobs[i].state != IPP_JSTATE_CANCELED &&
            jobs[i].state != IPP_JSTATE_ABORTED)
            found = true;
    cupsFreeJobs(n, jobs);
    return found;
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
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) throw printerError(QStringLiteral("there is no default printer"));
    if (info.state() == QPrinter::Error) throw printerError(QStringLiteral("the printer is stopped"));
    m_queue = info.printerName();
    if (!acceptingJobs(m_queue)) throw printerError(QStringLiteral("the printer refuses jobs"));
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

double Printer::toDevice(double twips) const { return twips * m_printer->resolution() / 1440.0; }

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
    return float(m_printer->pageRect(QPrinter::DevicePixel).width() * 1440.0 / m_printer->resolution());
}

float Printer::ScaleHeight() {
    begin();
    return float(m_printer->pageRect(QPrinter::DevicePixel).height() * 1440.0 / m_printer->resolution());
}

float Printer::TextWidth(const QString& text) {
    begin();
    const QFontMetricsF fm(deviceFont(), m_printer.get());
    return float(fm.horizontalAdvance(text) * 1440.0 / m_printer->resolution());
}

void Printer::Print(const QString& text, bool lineEnd) {
    begin();
    const QFont font = deviceFont();
    const QFontMetricsF fm(font, m_printer.get());
    const float lineHeight = float(fm.lineSpacing() * 1440.0 / m_printer->resolution());
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
        m_x += float(fm.horizontalAdvance(text) * 1440.0 / m_printer->resolution());
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
    const bool ended = m_painter->end();
    m_painter.reset();
    m_printer.reset();
    if (!ended) throw printerError(QStringLiteral("the document could not be sent"));
    if (!jobTaken(m_queue, m_docName)) throw printerError(QStringLiteral("the printing system did not take the job"));
}

void Printer::KillDoc() {
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
    } catch (const std::exception&) {
        printer.KillDoc();
        MsgBox(QStringLiteral("There was a problem printing to your printer."));
        return false;
    }
}

}  // namespace platform
