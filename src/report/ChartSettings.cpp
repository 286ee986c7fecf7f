#include "report/ChartSettings.h"

namespace qorv {

void ChartSettings::reset() {
    *this = ChartSettings();
}

}  // namespace qorv
