#pragma once
// From cleaned building records to the working and original asset lists.
//
// The runner calls the steps in this order: ResolveCostSlots, InheritDerivedCosts,
// InheritDerivedUpkeep, NumberDefaultBuffs, (the building index), WriteNameComments.
// The game writes many cost and upkeep entries as references into the list of a template
// or base asset; the editors need every entry explicit, so these steps write them out, give
// every record its buff GUID and put the product's German name before every reference.
#include "tools/CostTables.h"
#include "tools/PrepCommon.h"

#include <array>

namespace velmora::tools {

// Slots of the inheritance steps; longer lists grow them as needed.
inline constexpr int kInheritanceSlots = 11;

// The product written for an upkeep entry of a derived building.
QString fixedUpkeepProduct(const QString& building, const QString& product);

// TMP "Buildings_Standard_Cleaned.xml" -> TMP "Buildings_Standard_Cleaned_And_Cost.xml".
void ResolveCostSlots(const PrepDirectories& dirs);
// TMP "Buildings_Standard_Cleaned_And_Cost.xml" -> TMP
// "Buildings_Standard_Cleaned_And_Cost_all.xml".
void InheritDerivedCosts(const PrepDirectories& dirs);
// TMP "Buildings_Standard_Cleaned_And_Cost_all.xml" -> XMLP "Buildings.xml" and "BuildingsOrg.xml".
void InheritDerivedUpkeep(const PrepDirectories& dirs);
// XMLP "Buildings.xml" -> both asset lists, every record with a DefaultBuff.
void NumberDefaultBuffs(const PrepDirectories& dirs);
// XMLP "Buildings.xml" and "ProductsShort.xml" -> both asset lists with name comments,
// re-formatted.
void WriteNameComments(const PrepDirectories& dirs);

} // namespace velmora::tools
