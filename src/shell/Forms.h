// Every screen of the program, for the shell that opens them all. A screen declares its one global
// instance (forms::Name, created on first reference) in its own header and defines it at the top of
// its own .cpp; a screen that opens another includes that screen's header.
#pragma once
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "shell/MainMenu.h"
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
