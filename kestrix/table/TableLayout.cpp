#include "kestrix/table/TableLayout.h"

namespace kestrix::table {

bool SameDataCells(const TableColumn& before, const TableViewOptions& optionsBefore,
                   const TableColumn& after, const TableViewOptions& optionsAfter) {
    if (!(before == after)) {
        return false;
    }
    switch (before.kind) {
    case TableColumnKind::Timestamp:
        return optionsBefore.isoDates == optionsAfter.isoDates;
    case TableColumnKind::LocationName:
        return false;
    case TableColumnKind::ParticleRaw:
    case TableColumnKind::ParticleNorm:
        return optionsBefore.particleDifferential == optionsAfter.particleDifferential;
    default:
        return true;
    }
}

} // namespace kestrix::table
