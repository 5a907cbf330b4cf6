#pragma once
#include "activities/TileBoard.h"
#include "core/GalleryActivities.h"

// The gallery's number boards: Pythagorean Triples, Right-Angled?, Fibonacci Sequences and Roman
// Numerals. Each draws a new problem at random, lays out twelve clues or four rows of three boxes,
// and scores what the pupil sees on the boxes by its own rule. One class; a subclass per board only
// says which task it is, so that each has its own screen to open and to leave.
class GalleryActivity : public TileBoard {
    Q_OBJECT
public:
    enum class Task { Triples, RightAngles, Sequences, Roman };
    struct Controls {
        // Rows: a row's start at 0 to 3 ("4,  7,"). Cells: what box i answers, beside it ("XLVII  =").
        std::array<platform::Label*, Tiles> clues{};
        // Rows: after box i ("² +", ","); unused by cells.
        std::array<platform::Label*, Tiles> signs{};
        platform::Label *fact = nullptr, *instruction = nullptr, *dragHint = nullptr;
    };
    // The board for a topic's activity, under the opener's caption, heading and portrait.
    static void open(Task task, const QString& caption, const QString& heading, const QString& portrait);

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    Task task() const { return m_task; }
    // A problem drawn afresh, on a board set up again.
    void newProblem();
    // What each box must show for its point, by the board's rule; for triples, the rows as drawn
    // (another arrangement that works scores as well).
    const std::array<QString, Tiles>& answers() const { return m_answers; }

protected:
    explicit GalleryActivity(Task task);
    void checkScore() override;
    QString boxPlace(int b) const override;

private:
    void draw();
    void trayInOrder();
    const Task m_task;
    Controls m_ui;
    std::array<QString, Tiles> m_answers;
    std::array<core::Triangle, Tiles> m_triangles{};  // Right-Angled? only
};

class TriplesActivity final : public GalleryActivity {
public:
    TriplesActivity() : GalleryActivity(Task::Triples) {}
};
class RightAngleActivity final : public GalleryActivity {
public:
    RightAngleActivity() : GalleryActivity(Task::RightAngles) {}
};
class SequencesActivity final : public GalleryActivity {
public:
    SequencesActivity() : GalleryActivity(Task::Sequences) {}
};
class RomanActivity final : public GalleryActivity {
public:
    RomanActivity() : GalleryActivity(Task::Roman) {}
};

