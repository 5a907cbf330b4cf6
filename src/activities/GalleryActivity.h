#pragma once
#include "activities/BoardKinds.h"
#include "activities/TileBoard.h"

// The gallery's number boards (Pythagorean Triples, Right-Angled?, Fibonacci Sequences, Roman
// Numerals and whatever is registered next): one screen, made for the board kind it shows. It lays
// out the kind's words and twelve clues or four rows of three boxes, draws a new problem by the
// kind's rule, and scores what the pupil sees on the boxes by that rule.
class GalleryActivity : public TileBoard {
    Q_OBJECT
public:
    struct Controls {
        // Rows: a row's start at 0 to 3 ("4,  7,"). Cells: what box i answers, beside it ("XLVII  =").
        std::array<platform::Label*, Tiles> clues{};
        // Rows: after box i ("² +", ","); unused by cells.
        std::array<platform::Label*, Tiles> signs{};
        platform::Label *fact = nullptr, *instruction = nullptr, *dragHint = nullptr;
    };
    explicit GalleryActivity(const BoardKind& kind);
    // The board of this kind for a topic, under the opener's caption, heading and portrait.
    static void open(const BoardKind& kind, const BoardOpening& opening);

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    const BoardKind& kind() const { return m_kind; }
    void newProblem() override;
    // What each box must show for its point, by the kind's rule; for triples, the rows as drawn
    // (another arrangement that works scores as well).
    const std::array<QString, Tiles>& answers() const { return m_problem.answers; }

protected:
    void checkScore() override;
    QString boxPlace(int b) const override;

private:
    void trayInOrder();
    const BoardKind& m_kind;
    Controls m_ui;
    core::GalleryProblem m_problem;
};

