// Every screen of the program, for the shell that opens them all. A screen declares its one global
// instance (forms::Name, created on first reference) in its own header and defines it at the top of
// its own .cpp; a screen that opens another includes that screen's header.
#pragma once
#include "activities/NetsOfDice.h"
#include "activities/ProductsOfPrimes.h"
#include "pages/GuideViewer.h"
#include "pages/PageViewer.h"
#include "quiz/Quiz.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswers.h"
#include "shell/MainMenu.h"
#include "shell/Titlefrm.h"
#include "shell/TopicMenu.h"
#include "worksheets/Catalogue.h"
#include "worksheets/Wizard.h"
