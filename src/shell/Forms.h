// The one global instance of every screen, created on first reference.
#pragma once
#include "platform/Form.h"
#include "quiz/Quiz.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswers.h"
#include "shell/MainMenu.h"
#include "shell/Titlefrm.h"
#include "shell/TopicMenu.h"
#include "worksheets/Catalogue.h"
#include "worksheets/Wizard.h"

namespace forms {
extern platform::FormRef<::Grey> Grey;
extern platform::FormRef<::Titlefrm> Titlefrm;
extern platform::FormRef<::intro0> intro0;
extern platform::FormRef<::euclid> euclid;
extern platform::FormRef<::wizard> wizard;
extern platform::FormRef<::worksheets> worksheets;
extern platform::FormRef<::multiple> multiple;
extern platform::FormRef<::Welldone> Welldone;
extern platform::FormRef<::Wrong> Wrong;
}  // namespace forms
