#include "shell/Forms.h"

namespace forms {
platform::FormRef<::Grey> Grey;
platform::FormRef<::Titlefrm> Titlefrm;
platform::FormRef<::intro0> intro0;
platform::FormRef<::euclid> euclid;
platform::FormRef<::wizard> wizard;
platform::FormRef<::worksheets> worksheets;
platform::FormRef<::multiple> multiple;
platform::FormRef<::Welldone> Welldone;
platform::FormRef<::Wrong> Wrong;
}  // namespace forms
