#pragma once
// Rows of like controls are addressed by composed names: a stem followed by the decimal slot
// number ("CostLabel4", "AddProductGUID1"); a row button finds its slot from the digit at the
// end of its own name.
#include <QObject>
#include <QString>

namespace velmora::ui {

inline QString slotName(const char* stem, int slot) {
    return QString::fromLatin1(stem) + QString::number(slot);
}

// The digit at the end of the control's name, or -1 when the name ends in none.
inline int slotNumber(const QObject* control) {
    const QString name = control ? control->objectName() : QString();
    if (name.isEmpty() || !name.back().isDigit())
        return -1;
    return name.back().digitValue();
}

} // namespace velmora::ui
