// Stand-ins for the extraction steps and the products pipeline while their units are not
// part of the build; each disappears as soon as its unit's header is present, and is weak so
// that an object built before then never clashes with the real one.
#include "data/DataError.h"
#include "tools/PrepCommon.h"

namespace velmora::tools {

#if !__has_include("tools/BuildingExtraction.h")
[[gnu::weak]] void RunExtractionSteps(const PrepDirectories&, const StepReporter&) {
    throw data::DataError(QStringLiteral("Die Schritte B2 bis B6 sind in diesem Programm nicht enthalten."));
}
#endif

#if !__has_include("tools/CreateProductsUnit.h")
[[gnu::weak]] void RunProductsPipeline(const PrepDirectories&, const StepReporter&) {
    throw data::DataError(QStringLiteral("Die Produkt-Schritte sind in diesem Programm nicht enthalten."));
}
#endif

} // namespace velmora::tools
