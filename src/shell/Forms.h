// The one global instance of every screen, created on first reference.
// Registering a screen: declare its class here and its instance below; the instance itself is
// defined beside the screen, in the file named on its line. A file that touches a screen includes
// that screen's header too.
#pragma once
#include "platform/Form.h"

class Grey;
class Titlefrm;
class intro0;
class euclid;
class wizard;
class worksheets;
class multiple;
class Welldone;
class Wrong;
class eratosthenesord;
class euclidord;
class guide;
class teacher;

namespace forms {
extern platform::FormRef<::Grey> Grey;              // shell/Titlefrm.cpp: the backdrop
extern platform::FormRef<::Titlefrm> Titlefrm;      // shell/Titlefrm.cpp: title screen and exit confirmation
extern platform::FormRef<::intro0> intro0;          // shell/MainMenu.cpp: the main menu
extern platform::FormRef<::euclid> euclid;          // shell/TopicMenu.cpp: Euclid's topic menu
extern platform::FormRef<::wizard> wizard;          // worksheets/Wizard.cpp: Multiple Choice Wizard
extern platform::FormRef<::worksheets> worksheets;  // worksheets/Catalogue.cpp: Worksheets Catalogue
extern platform::FormRef<::multiple> multiple;      // quiz/Quiz.cpp: the quiz
extern platform::FormRef<::Welldone> Welldone;      // quiz/ScoreScreen.cpp: the score screen
extern platform::FormRef<::Wrong> Wrong;            // quiz/WrongAnswers.cpp: the wrong-answers review
extern platform::FormRef<::eratosthenesord> eratosthenesord;  // activities/ProductsOfPrimes.cpp: Products of Primes
extern platform::FormRef<::euclidord> euclidord;              // activities/NetsOfDice.cpp: Nets of Dice
extern platform::FormRef<::guide> guide;      // pages/GuideViewer.cpp: the Teachers' Guide
extern platform::FormRef<::teacher> teacher;  // pages/PageViewer.cpp: Key Facts, Teacher's Notes, Acknowledgments
}  // namespace forms
