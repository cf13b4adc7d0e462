// Stand-ins for the extraction steps and the products pipeline until they are linked in.
#include "data/DataError.h"
#include "tools/PrepCommon.h"

namespace velmora::tools {

[[gnu::weak]] void RunExtractionSteps(const PrepDirectories&, const StepReporter&) {
    throw data::DataError(QStringLiteral("Die Schritte B2 bis B6 sind in diesem Programm nicht enthalten."));
}

[[gnu::weak]] void RunProductsPipeline(const PrepDirectories&, const StepReporter&) {
    throw data::DataError(QStringLiteral("Die Produkt-Schritte sind in diesem Programm nicht enthalten."));
}

} // namespace velmora::tools
