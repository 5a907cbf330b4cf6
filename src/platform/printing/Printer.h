// The system's default printer as the screens print on it. The document is drawn here as a PDF, with
// no print server involved, and sent by a thread of its own over our own connection: a print server
// that stops answering never holds the window, only the pupil's clicks wait for it, a few seconds at
// most. The page description is a page description in twips from the
// top left of the printable area, with a current position, a font and a colour. The paper is the
// default queue's own. Text is never wrapped (past the right edge of the printable area it is lost,
// a word at a time); past the bottom it goes on at the top of a new page.
#pragma once
#include "platform/pictures/Picture.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFont>
#include <QMarginsF>
#include <QPageSize>
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPdfWriter;

namespace platform {

constexpr double TwipsPerInch = 1440;

class Printer {
public:
    static Printer& one();  // the printer of the program

    void setFontName(const QString& family);
    void setFontSize(double points);
    void setFontBold(bool bold);
    void setForeColor(quint32 bgr) { m_colour = bgr; }
    float currentX() const { return m_x; }
    void setCurrentX(float twips) { m_x = twips; }
    float currentY() const { return m_y; }
    void setCurrentY(float twips) { m_y = twips; }
    void setDrawWidth(int pixels) { m_drawWidth = pixels; }

    // The printable area and text widths, in twips. Each starts the document if it has not begun.
    float printableWidth();
    float printableHeight();
    float textWidth(const QString& text);
    // How far a printed line moves the position down, in the current font.
    float lineHeight();

    // Prints text at the current position; with a line end the position moves to the left edge of
    // the next line (the line height following the font), without one it stays after the text.
    void print(const QString& text, bool lineEnd = true);
    // Ends the page; what follows starts at the top left of a new one.
    void newPage();
    // Prints a line centred across the printable width.
    void printCentred(const QString& text);
    void line(float x1, float y1, float x2, float y2, quint32 bgr);
    // A picture at its own size, a metafile as vectors.
    void paintPicture(const Picture& picture, float x, float y);
    // A picture drawn to a size of the caller's, a metafile as vectors.
    void paintPicture(const Picture& picture, float x, float y, float width, float height);
    // Sends the document to the printer; fails unless the printing system took the job. A job sent
    // whole whose fate the server no longer says is Unconfirmed: it may well print.
    enum class Sent { Printing, Unconfirmed };
    Sent endDocument();
    // Abandons the document being made: nothing of it comes out of the printer.
    void abandonDocument();

private:
    Printer();
    void begin();
    void resetSettings();
    double toDevice(double twips) const;
    double toTwips(double device) const;
    QFont deviceFont() const;

    double resolution() const;
    QRectF paintRect() const;

    QElapsedTimer m_clock;  // since the document began: a print has a few seconds in all
    QString m_queue, m_docName;
    QPageSize m_pageSize;
    QMarginsF m_margins;  // points
    QBuffer m_pdf;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    QString m_family = QStringLiteral("Times New Roman");
    double m_points = 12;
    bool m_bold = false;
    quint32 m_colour = 0;
    float m_x = 0, m_y = 0;
    int m_drawWidth = 1;
};

// Draws one document with `draw` and sends it to the printer. Whatever fails, the partial document
// is abandoned, so nothing half-made comes out later, and the user is told; true if the printing
// system took the job. A job sent but not confirmed is said as such (the teacher looks at the
// printer before printing again) and is not true.
bool PrintDocument(const std::function<void(Printer&)>& draw);

}  // namespace platform
