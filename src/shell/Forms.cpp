#include "shell/Forms.h"

namespace forms {
platform::FormRef<::Grey> Grey;
platform::FormRef<::Titlefrm> Titlefrm;
platform::FormRef<::intro0> intro0;
platform::FormRef<::euclid> euclid;
platform::FormRef<::wizard> wizard;
platform::FormRef<::worksheets> worksheets;
}  // namespace forms
