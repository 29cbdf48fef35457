#include "FileErrorMessages.h"

#include "SurfaceTypes.h"

namespace orvane {

namespace E = SurfaceErrorNumber;

QString loadErrorText(std::int32_t number)
{
    switch (number) {
    case E::Unexpected: return QStringLiteral("Unexpected error");
    case E::FileNotFound: return QStringLiteral("File not found");
    case E::PathNotFound: return QStringLiteral("Path not found");
    case E::Frameset: return QStringLiteral("Document contains a frameset");
    case E::ServerScriptOnly: return QStringLiteral("Document is primarily server side script");
    case E::InvalidArgument: return QStringLiteral("Invalid argument");
    case E::AccessDenied: return QStringLiteral("Access denied");
    default: return QStringLiteral("Unknown error");
    }
}

QString saveErrorText(std::int32_t number)
{
    switch (number) {
    case E::Unexpected: return QStringLiteral("Unexpected error");
    case E::PathNotFound: return QStringLiteral("Path not found");
    case E::DiskFull: return QStringLiteral("Disk is full");
    case E::InvalidArgument: return QStringLiteral("Invalid argument");
    case E::AccessDenied: return QStringLiteral("Access denied");
    default: return QStringLiteral("Unknown error");
    }
}

QString loadErrorMessage(std::int32_t number)
{
    return QStringLiteral("Error occurred while loading document: ") + loadErrorText(number)
           + QLatin1Char('.');
}

QString saveErrorMessage(std::int32_t number)
{
    return QStringLiteral("Error occurred while saving document: ") + saveErrorText(number)
           + QLatin1Char('.');
}

}  // namespace orvane
