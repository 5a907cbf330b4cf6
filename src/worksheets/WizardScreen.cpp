#include "worksheets/WizardScreen.h"
#include "platform/files/FileChannel.h"
#include "platform/screen/Navigator.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"
#include "platform/printing/Printer.h"
#include "platform/files/WorkingFiles.h"
#include "worksheets/WorksheetFiles.h"

using namespace platform;
using namespace worksheetfiles;
using core::QuestionCount;

namespace {
using Controls = WizardScreen::Controls;
// The blocks: questions 1-5 on the left, 6-10 on the right.
float columnLeft(int q) { return q < 5 ? 0 : 5880; }
float rowTop(int q) { return 1440.0f * float(q % 5); }

// The screen's controls, in the order they are built (later ones lie above earlier ones).
// clang-format off
constexpr ControlRow Layout[] = {
    {.caption = "Multiple Choice Wizard", .at = {0, 0, 4320, 540},
         .font = {"Tahoma", 18, true}, .fore = Yellow, .flags = Transparent, .to = slot<&Controls::heading>},
    {.kind = Kind::Label, .index = 1, .caption = "Worksheet Title", .at = {5160, 120, 2295, 375},
         .font = {"Tahoma", 14.25, true}, .fore = Yellow, .flags = Transparent},
    {.at = {7560, 120, 4215, 375}, .font = {"Times New Roman", 12},
         .fore = Black, .back = White, .to = slot<&Controls::title>, .maxLength = 25},
    {.caption = "Save Worksheet", .at = {240, 7920, 3165, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::save>},
    {.caption = "Print Answers", .at = {4320, 7920, 3165, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::print>},
    {.caption = "Exit", .at = {10560, 7920, 1245, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exit>},
};
// clang-format on
}  // namespace

WizardScreen::WizardScreen() {
    build<Layout>(m_ui);
    // The ten blocks follow one pattern, so they are laid out by rule rather than row by row.
    static const char* const letters[] = {"A.", "B.", "C.", "D."};
    // clang-format off
    for (int q = 0; q < QuestionCount; ++q) {
        const float x = columnLeft(q), y = rowTop(q);
        const std::string caption = "Question " + std::to_string(q + 1);
        build({{.kind = Kind::Label, .index = 2 + q, .caption = caption.c_str(),
                .at = {x + 240, y + 600, 1800, 255}, .font = {"Tahoma", 9.75, true}, .fore = Yellow, .flags = Transparent},
               {.index = q, .at = {x + 240, y + 840, 5655, 375},
                .font = {"Times New Roman", 12}, .fore = Black, .back = White, .to = slot<&Controls::questions>, .maxLength = 60}}, m_ui);
        for (int k = 0; k < 4; ++k) {
            const float ax = x + (k % 2 ? 3600 : 720), tx = x + (k % 2 ? 3330 : 480), ay = y + (k < 2 ? 1230 : 1560);
            build({{.kind = Kind::Label, .index = 12 + 4 * q + k, .caption = letters[k],
                    .at = {tx - 315, ay, 315, 330}, .font = {"Tahoma", 12, true}, .fore = Yellow, .flags = Transparent},
                   {.index = 4 * q + k, .at = {ax, ay, 2295, 330},
                    .font = {"Times New Roman", 9.75}, .fore = Black, .back = White, .to = slot<&Controls::answers>, .maxLength = 30},
                   {.index = 4 * q + k, .at = {tx, ay, 255, 315}, .to = slot<&Controls::ticks>}}, m_ui);
        }
    }
    // clang-format on
    // Tab order: the title, then each question followed by its answers, then the ticks. Each box is
    // named for a screen reader by the question and letter it stands for.
    static const char* const answers[] = {"A", "B", "C", "D"};
    std::vector<Control*> order{m_ui.title};
    m_ui.title->setAccessibleName(QStringLiteral("Worksheet Title"));
    for (int q = 0; q < QuestionCount; ++q) {
        const QString question = QStringLiteral("Question %1").arg(q + 1);
        m_ui.questions[size_t(q)]->setAccessibleName(question);
        order.push_back(m_ui.questions[size_t(q)]);
        for (int k = 0; k < 4; ++k) {
            m_ui.answers[size_t(4 * q + k)]->setAccessibleName(question + QStringLiteral(", answer ") +
                                                               QLatin1String(answers[k]));
            m_ui.ticks[size_t(4 * q + k)]->setAccessibleName(question + QStringLiteral(": answer ") +
                                                             QLatin1String(answers[k]) + QStringLiteral(" is right"));
            order.push_back(m_ui.answers[size_t(4 * q + k)]);
        }
    }
    for (int i = 0; i < 40; ++i) order.push_back(m_ui.ticks[size_t(i)]);
    setKeyboardOrder(std::move(order));

    m_ui.exit->onClick = [this] {
        if (mayLeave()) screens().close<WizardScreen>();
    };
    setCancelControl(m_ui.exit);
    screenName = [this] { return m_ui.heading->text(); };
    m_ui.save->onClick = [this] { checkAndSave(); };
    m_ui.print->onClick = [this] { printAnswers(); };
    // Enter goes on to the next box, as Tab does.
    m_ui.title->onKeyPress = [this](int& key) {
        if (key == 13) m_ui.questions[0]->setFocus();
    };
    for (int i = 0; i < QuestionCount; ++i)
        m_ui.questions[size_t(i)]->onKeyPress = [this, i](int& key) {
            if (key == 13) m_ui.answers[size_t(i) * 4]->setFocus();
        };
    for (int i = 0; i < 4 * QuestionCount; ++i)
        m_ui.answers[size_t(i)]->onKeyPress = [this, i](int& key) { answerKeyPress(i, key); };
}

void WizardScreen::prepare() {
    prepareScreen(*this);
    for (int i = 0; i < 40; ++i) m_ui.ticks[size_t(i)]->setBackColor(theme::ScreenBlue);
    m_kept = typedWorksheet();
}

void WizardScreen::answerKeyPress(int answer, int& key) {
    if (key != 13) return;
    if (answer % 4 < 3)
        m_ui.answers[size_t(answer + 1)]->setFocus();
    else if (answer < 39)
        m_ui.questions[size_t((answer + 1) / 4)]->setFocus();
}

void WizardScreen::checkAndSave() {
    if (complete()) writeWorksheet();
}

// Whether the sheet has a title, every question and answer, and one tick to each question; if not,
// the teacher is told what is missing.
bool WizardScreen::complete() const {
    if (m_ui.title->contents().isEmpty()) {
        showMessage(QStringLiteral("You have not chosen a title for your worksheet"));
        return false;
    }
    for (int q = 0; q < QuestionCount; ++q) {
        const QString n = numberText(q + 1);
        if (m_ui.questions[size_t(q)]->contents().isEmpty()) {
            showMessage(QStringLiteral("You have not completed Question") + n);
            return false;
        }
        int ticks = 0;
        for (int k = 0; k < 4; ++k) {
            if (m_ui.answers[size_t(4 * q + k)]->contents().isEmpty()) {
                showMessage(QStringLiteral("You have not completed Question") + n);
                return false;
            }
            if (m_ui.ticks[size_t(4 * q + k)]->isTicked()) ++ticks;
        }
        if (ticks == 0) {
            showMessage(QStringLiteral("You have not ticked the correct answer for Question") + n);
            return false;
        }
        if (ticks > 1) {
            showMessage(QStringLiteral("You have ticked more than one correct answer for Question") + n);
            return false;
        }
    }
    return true;
}

// The answer key, printed from the teacher's own screen (a pupil's quiz never shows it): the title,
// the letters on one line for marking a pile of sheets, then each question with its right answer.
// Only a complete sheet has one, so the key always matches a sheet that can be saved and printed.
void WizardScreen::printAnswers() {
    if (!complete()) return;
    const Worksheet w = typedWorksheet();
    const bool printed = PrintDocument([&w](Printer& printer) {
        const float W = printer.printableWidth();
        const auto letter = [&w](int q) { return QChar(u'A' + int(toNumber(w.questions[size_t(q)].correct)) - 1); };
        printer.setFontName(QStringLiteral("Times New Roman"));
        printer.setFontBold(false);
        printer.setFontSize(16);
        printer.print(QStringLiteral(" "));
        printer.setFontSize(28);
        printer.printCentred(QStringLiteral("Answer Key"));
        printer.printCentred(w.title);
        printer.setFontSize(12);
        printer.print(QStringLiteral(" "));
        QStringList letters;
        for (int q = 0; q < QuestionCount; ++q) letters << QString::number(q + 1) + QLatin1Char(' ') + letter(q);
        printer.setCurrentX(W / 16);
        printer.print(letters.join(QStringLiteral(", ")));
        printer.print(QStringLiteral(" "));
        for (int q = 0; q < QuestionCount; ++q) {
            const Question& in = w.questions[size_t(q)];
            printer.setCurrentX(W / 16);
            printer.print(QStringLiteral("Question") + numberText(q + 1) + QStringLiteral("    ") + in.text);
            printer.setCurrentX(2 * W / 6);
            printer.print(QString(letter(q)) + QStringLiteral(". ") + in.answers[size_t(toNumber(in.correct)) - 1]);
            printer.print(QStringLiteral(" "));
        }
    });
    if (printed) showMessage(QStringLiteral("Your answer key is now printing."));
}

// The worksheet as typed, with the one ticked answer of each question.
Worksheet WizardScreen::typedWorksheet() const {
    Worksheet w;
    w.title = m_ui.title->contents();
    for (int q = 0; q < QuestionCount; ++q) {
        Question& out = w.questions[q];
        out.text = m_ui.questions[size_t(q)]->contents();
        for (int k = 0; k < 4; ++k) {
            out.answers[k] = m_ui.answers[size_t(4 * q + k)]->contents();
            if (m_ui.ticks[size_t(4 * q + k)]->isTicked()) out.correct = numberText(k + 1).trimmed();
        }
    }
    return w;
}

// A question or answer that the worksheet file could not give back as typed.
QString WizardScreen::unsavableText() const {
    for (int q = 0; q < QuestionCount; ++q) {
        QStringList texts{m_ui.questions[size_t(q)]->contents()};
        for (int k = 0; k < 4; ++k) texts << m_ui.answers[size_t(4 * q + k)]->contents();
        for (const QString& t : texts) {
            if (!canEncode1252(t))
                return QStringLiteral("Question") + numberText(q + 1) +
                       QStringLiteral(
                           " contains a character that cannot be saved in a worksheet. "
                           "Please type it another way.");
            // A worksheet keeps a comma as "&", so an "&" typed would come back as a comma.
            if (t.contains(QLatin1Char('&')))
                return QStringLiteral("Question") + numberText(q + 1) +
                       QStringLiteral(" has an \"&\", which a worksheet cannot keep. Please write \"and\" instead.");
            if (t.trimmed().startsWith(QLatin1Char('"')))
                return QStringLiteral("Question") + numberText(q + 1) +
                       QStringLiteral(
                           " has a text that begins with a double quote, which a worksheet cannot keep. "
                           "Please use single quotes there.");
        }
    }
    return {};
}

void WizardScreen::writeWorksheet() {
    // Nothing is written unless the title is a safe file name and every text can be kept as typed.
    const QString title = m_ui.title->contents();
    QString problem = TitleProblem(title, topicsPresent());
    if (problem.isEmpty()) problem = unsavableText();
    if (!problem.isEmpty()) {
        showMessage(problem);
        return;
    }
    FileChannel& file1 = FileChannel::one();
    const FileOneGuard guard;
    try {
        // The worksheet and the index change together or not at all: the index is checked before the
        // worksheet is replaced, and the old worksheet is put back if listing it fails after all.
        CatalogueLock lock;
        IndexCheckRoom(title);
        const SavedCopy before(WorksheetPath(title));
        try {
            file1.openForWriting(WorksheetPath(title));
            file1.write(WorksheetBytes(typedWorksheet()));
            file1.close();
            addToCatalogue();
        } catch (const std::exception&) {
            before.restore();  // closes file 1 first
            throw;
        }
        m_kept = typedWorksheet();
        showMessage(QStringLiteral("Your worksheet has been saved."));
    } catch (const std::exception& e) {
        file1.abandon();  // before the message, so nothing is left open while it waits
        showMessage(catalogueMessage(e, QStringLiteral("There was a problem saving your worksheet")));
    }
}

void WizardScreen::edit(const worksheetfiles::Worksheet& w) {
    WizardScreen& z = screens().open<WizardScreen>();
    z.m_ui.title->setContents(w.title);
    for (int q = 0; q < QuestionCount; ++q) {
        const worksheetfiles::Question& in = w.questions[size_t(q)];
        z.m_ui.questions[size_t(q)]->setContents(in.text);
        for (int k = 0; k < 4; ++k) z.m_ui.answers[size_t(4 * q + k)]->setContents(in.answers[size_t(k)]);
        long long correct = 0;
        skipOnFailure([&] { correct = toNumber(in.correct); });
        if (correct >= 1 && correct <= 4) z.m_ui.ticks[size_t(4 * q + int(correct) - 1)]->setTicked(true);
    }
    z.m_kept = z.typedWorksheet();
    z.showInFront();
}

bool WizardScreen::mayLeave() const {
    return typedWorksheet() == m_kept ||
           showMessage(
               QStringLiteral(
                   "You have not saved the changes to your worksheet. Do you want to leave without saving them?"),
               Buttons::YesNo) == Answer::Yes;
}

void WizardScreen::addToCatalogue() { IndexAppend(m_ui.title->contents()); }
