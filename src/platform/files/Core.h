// The platform stands on the program's core: its errors, number text, code page and random numbers
// are named in the platform's code as its own.
#pragma once
#include "core/Errors.h"
#include "core/NumberText.h"
#include "core/Random.h"
#include "core/Text1252.h"

namespace platform {
using namespace core;
}
