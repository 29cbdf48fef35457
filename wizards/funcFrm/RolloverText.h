#pragma once
// What the image rollover wizard writes: the find and replace steps that put
// the preloading statements into the page's script, and the anchors that swap
// each pair of images.

#include <QList>
#include <QStringList>
#include <optional>
#include <utility>

namespace orvane {

// At most fourteen images, seven pairs.
constexpr int kRolloverSlots = 14;

// One replacement: every occurrence of `first` becomes `second`.
using RolloverStep = std::pair<QString, QString>;

// The page ready to take the preloading statements: as it is when it has a
// script end tag ("</script>") outside its server blocks, else with an empty script element put just
// before its head's end tag; nothing when it has neither.
std::optional<QString> withScriptElement(const QString& source);

// The steps to apply in order for `images` (slot 1 first, as
// written into the page): each puts its slot's two statements before every
// "</script>" and writes the end tag again after them.
QList<RolloverStep> rolloverSteps(const QStringList& images);

// The anchor and image tags of every pair: pair 1 as soon as slot 1 is filled,
// pair p >= 2 once its second slot 2p is. Lines joined by CR LF, no line break
// at the end.
QString anchorText(const QStringList& images);

}  // namespace orvane
