#pragma once
// Every command of the menu items, the Help header and the toolbar, one row each.

#include "Command.h"

#include <QList>

namespace orvane {

const QList<Command>& commandCatalogue();

// The row of the control with this objectName, or nullptr.
const Command* findCommand(const QString& control);

}  // namespace orvane
