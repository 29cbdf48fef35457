#include "Prompts.h"
#include "QtPrompts.h"

#include <QRegularExpression>

namespace orvane {

namespace {
Prompts* g_current = nullptr;
}

Prompts& prompts()
{
    static QtPrompts defaultPrompts;
    return g_current ? *g_current : defaultPrompts;
}

void setPrompts(Prompts* p) { g_current = p; }

QString toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace orvane
