#include "app/client_area.h"

namespace vellumor {

ClientArea clientArea;

}  // namespace vellumor
