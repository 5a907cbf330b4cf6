// The player of a metafile's records onto a QPainter: the device context a page's records change
// (window, colours, modes, the object table, saved states), the handlers of the records we draw,
// and the limits every play stays within. Internal to the metafile.
#pragma once
#include "platform/pictures/MetafileRecords.h"
#include "platform/pictures/PageGeometry.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <cmath>
#include <functional>
#include <vector>

namespace platform::wmf {

struct FontDef {
    int height = 0, escapement = 0, weight = 400, charset = 0;
    bool italic = false, underline = false, strikeout = false;
    QString face;
};
struct Object {
    enum Kind { None, Pen, Brush, Font, Other } kind = None;
    QPen pen;
    QBrush brush;
    FontDef font;
};
struct State {
    QPointF windowOrg, windowExt;
    int bkMode = 2, polyFill = 1, textAlign = 0, rop2 = 13;
    QColor bk = Qt::white, text = Qt::black;
    int pen = -1, brush = -1, font = -1;
    QPointF current;
};

class Player {
public:
    Player(QPainter& p, const QByteArray& bytes, QRect bounds, QRectF target, int objects)
        : m_p(p), m_bytes(bytes), m_target(target), m_objects(objects),
          m_pageArea(std::max(1.0, target.width() * target.height())),
          m_pageSide(std::max({1.0, target.width(), target.height()})),
          // Drawn on a whiteboard at 3.6, every edge crosses 3.6 times the rows and every area covers
          // 13 times the pixels: the page's budgets are for what the device does.
          m_scale(std::max(1.0, std::sqrt(std::abs(p.deviceTransform().determinant())))) {
        m_s.windowOrg = bounds.topLeft();
        m_s.windowExt = QPointF(bounds.width(), bounds.height());
    }
    // Plays one record through the table of the records we draw; others are skipped.
    void play(const Metafile::Record& r);
    std::vector<Metafile::Text>* texts = nullptr;  // when set, every text written is added here
    // Why the play stopped before the end, or empty.
    QString stopped;
    QString ignored;  // a request that was not carried out, as Windows would refuse it

    // Gives the painter back as it came: states the page saved and never restored are dropped.
    void unwind() {
        for (; !m_saved.empty(); m_saved.pop_back()) m_p.restore();
    }

    // Charges one drawing against the page's limits; false, with the reason kept, once one is passed.
    // Charges a clip record, and a saved state the clips it carries; false once a limit is passed.
    bool spendClip(bool saving) {
        if (saving) m_clipCopies += m_clips;
        else ++m_clips;
        if (m_clips > Limits::ClipRecords) stopped = QStringLiteral("more than %1 clip rectangles").arg(Limits::ClipRecords);
        else if (m_clipCopies > Limits::ClipCopies)
            stopped = QStringLiteral("clip rectangles saved more than %1 times over").arg(Limits::ClipCopies);
        return stopped.isEmpty();
    }
    bool spend(qint64 points, double dashes, double area, double cells = 0) {
        m_points += points;
        m_dashes += dashes;
        m_area += area * m_scale * m_scale / m_pageArea;
        m_cells += cells * m_scale / m_pageSide;
        if (m_points > Limits::Points) stopped = QStringLiteral("more than %1 points and letters").arg(Limits::Points);
        else if (m_cells > Limits::CellSides)
            stopped = QStringLiteral("shapes whose edges run longer than %1 times the page's side").arg(Limits::CellSides);
        else if (m_dashes > double(Limits::Dashes)) stopped = QStringLiteral("more than %1 dashes").arg(Limits::Dashes);
        else if (m_area > Limits::PageAreas) stopped = QStringLiteral("more paint than %1 pages' worth").arg(Limits::PageAreas);
        return stopped.isEmpty();
    }

private:
    // One handler for each record we draw or keep, reached through the table in play().
    void saveDC(const Params& p, quint16 function);
    void restoreDC(const Params& p, quint16 function);
    void setWindowOrg(const Params& p, quint16 function);
    void setWindowExt(const Params& p, quint16 function);
    void setBkMode(const Params& p, quint16 function);
    void setBkColor(const Params& p, quint16 function);
    void setTextColor(const Params& p, quint16 function);
    void setPolyFillMode(const Params& p, quint16 function);
    void setTextAlign(const Params& p, quint16 function);
    void setRop2(const Params& p, quint16 function);
    void createPen(const Params& p, quint16 function);
    void createBrush(const Params& p, quint16 function);
    void createFont(const Params& p, quint16 function);
    void createOther(const Params& p, quint16 function);
    void selectObject(const Params& p, quint16 function);
    void deleteObject(const Params& p, quint16 function);
    void moveTo(const Params& p, quint16 function);
    void lineTo(const Params& p, quint16 function);
    void polyline(const Params& p, quint16 function);
    void polygons(const Params& p, quint16 function);
    void rectangle(const Params& p, quint16 function);
    void ellipse(const Params& p, quint16 function);
    void roundRect(const Params& p, quint16 function);
    void arc(const Params& p, quint16 function);
    void intersectClip(const Params& p, quint16 function);
    void excludeClip(const Params& p, quint16 function);
    void textOut(const Params& p, quint16 function);
    void extTextOut(const Params& p, quint16 function);
    void bitmap(const Params& p, quint16 function);

    QPointF map(double x, double y) const {
        return {m_target.left() + (x - m_s.windowOrg.x()) * sx(), m_target.top() + (y - m_s.windowOrg.y()) * sy()};
    }
    double sx() const { return m_s.windowExt.x() == 0 ? 0 : m_target.width() / m_s.windowExt.x(); }
    double sy() const { return m_s.windowExt.y() == 0 ? 0 : m_target.height() / m_s.windowExt.y(); }
    QRectF rect(const Params& p, int at) const {  // bottom, right, top, left from word `at`
        return QRectF(map(p.s(at + 3), p.s(at + 2)), map(p.s(at + 1), p.s(at))).normalized();
    }
    QPen pen() const;
    QBrush brush() const;
    bool drawsNothing() const { return m_s.rop2 == 11; }  // R2_NOP
    void applyRop();
    void shape(const std::function<void()>& draw);
    void polygon(const Params& p, int at, int count, QPolygonF& out) const {
        for (int i = 0; i < count; ++i) out << map(p.s(at + 2 * i), p.s(at + 2 * i + 1));
    }
    void text(QPointF at, const QString& s, const std::vector<double>& dx, const QRectF* opaque);
    Object* object(int index) {
        return index >= 0 && index < int(m_table.size()) && m_table[index].kind != Object::None ? &m_table[index]
                                                                                                 : nullptr;
    }
    void create(Object o) {
        for (auto& slot : m_table)
            if (slot.kind == Object::None) {
                slot = std::move(o);
                return;
            }
        if (int(m_table.size()) < m_objects) m_table.push_back(std::move(o));
    }

    // What drawing a shape of this outline with the current pen, and filling `fillArea` of it with
    // the current brush, costs. A stroke is filled as a thin shape with edges on both sides.
    bool spendShape(qint64 points, const Extent& outline, double fillArea = 0) {
        const bool filled = fillArea > 0 && brush().style() != Qt::NoBrush;
        const double fill = filled ? outline.cells : 0;
        const QPen pen = this->pen();
        if (pen.style() == Qt::NoPen) return spend(points, 0, filled ? fillArea : 0, fill);
        const double width = std::max(1.0, pen.widthF());
        double period = 0;
        if (pen.style() != Qt::SolidLine)
            for (double d : pen.dashPattern()) period += d * width;
        // A line of a pixel is drawn along its length; a wider one is filled as a thin shape with an
        // edge on either side of the line.
        const double stroke = pen.widthF() > 1 ? 2 * outline.cells : 0;
        // Each vertex of a wide stroke adds a join the pen's width across, and a line that turns back
        // on itself under a wide pen covers the same ground again at every turn: charged by the
        // outline the pen sweeps, not by the centre line alone.
        const double joins = pen.widthF() > 1 ? double(points) * width : 0;
        return spend(points, period > 0 ? outline.length / period : 0,
                     (filled ? fillArea : 0) + outline.length * width + joins * width, fill + stroke + 2 * joins);
    }
    // The page with room for the widest pen: what lies outside it cannot show.
    QRectF reach() const {
        const double pad = std::max(1.0, pen().widthF()) + 2;
        return m_target.adjusted(-pad, -pad, pad, pad);
    }
    // A box far larger than the page is no drawing of ours: it would cost without end to draw.
    bool farTooLarge(const QRectF& box) {
        const double most = 64 * std::max(m_target.width(), m_target.height());
        if (box.width() <= most && box.height() <= most) return false;
        stopped = QStringLiteral("a shape far larger than the page");
        return true;
    }
    // The outline of a box, as far as it can show.
    Extent outline(const QRectF& box) const { return extent(box & reach(), true); }
    double visibleArea(const QRectF& box) const {
        const QRectF seen = box.normalized() & m_target;
        return seen.width() * seen.height();
    }

    QPainter& m_p;
    const QByteArray& m_bytes;
    QRectF m_target;
    int m_objects;
    double m_pageArea, m_pageSide, m_scale;
    qint64 m_points = 0, m_pixels = 0, m_clips = 0, m_clipCopies = 0;
    double m_dashes = 0, m_area = 0, m_cells = 0;
    State m_s;
    std::vector<State> m_saved;
    std::vector<Object> m_table;
};

// Plays every record until a limit is passed or the time is up, and says so in the log.
void playAll(Player& player, const std::vector<Metafile::Record>& records, const QString& picture,
             const std::atomic<bool>* stop = nullptr);

}  // namespace platform::wmf
