#include "core/Shared.h"

namespace core {

Shared& shared() {
    static Shared one;
    return one;
}

}  // namespace core
