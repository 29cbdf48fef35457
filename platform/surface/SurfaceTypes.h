#pragma once
// Values of the editing surface's published interface: command identifiers,
// query flags, error numbers and the table-parameter object.

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace orvane {

// Editing command identifiers (DECMD values).
enum Decmd : int {
    DECMD_BOLD = 5000, DECMD_COPY = 5002, DECMD_CUT = 5003, DECMD_DELETECOLS = 5006,
    DECMD_DELETEROWS = 5007, DECMD_FINDTEXT = 5008, DECMD_FONT = 5009,
    DECMD_GETFONTNAME = 5013, DECMD_GETFONTSIZE = 5014, DECMD_HYPERLINK = 5016,
    DECMD_IMAGE = 5017, DECMD_INDENT = 5018, DECMD_INSERTCOL = 5020, DECMD_INSERTROW = 5021,
    DECMD_INSERTTABLE = 5022, DECMD_ITALIC = 5023, DECMD_JUSTIFYCENTER = 5024,
    DECMD_JUSTIFYLEFT = 5025, DECMD_JUSTIFYRIGHT = 5026, DECMD_MAKE_ABSOLUTE = 5028,
    DECMD_MERGECELLS = 5029, DECMD_ORDERLIST = 5030, DECMD_OUTDENT = 5031, DECMD_PASTE = 5032,
    DECMD_REDO = 5033, DECMD_SELECTALL = 5035, DECMD_SEND_BACKWARD = 5036,
    DECMD_BRING_FORWARD = 5037, DECMD_SEND_BELOW_TEXT = 5038, DECMD_BRING_ABOVE_TEXT = 5039,
    DECMD_SEND_TO_BACK = 5040, DECMD_BRING_TO_FRONT = 5041, DECMD_SETBACKCOLOR = 5042,
    DECMD_SETFONTNAME = 5044, DECMD_SETFONTSIZE = 5045, DECMD_SETFORECOLOR = 5046,
    DECMD_SPLITCELL = 5047, DECMD_UNDERLINE = 5048, DECMD_UNDO = 5049, DECMD_UNLINK = 5050,
    DECMD_UNORDERLIST = 5051,
};

// ExecCommand options.
enum ExecOption : int { OLECMDEXECOPT_DODEFAULT = 0, OLECMDEXECOPT_PROMPTUSER = 1,
                        OLECMDEXECOPT_DONTPROMPTUSER = 2 };

// QueryStatus flags.
enum QueryFlag : int { DECMDF_NOTSUPPORTED = 0, DECMDF_DISABLED = 1, DECMDF_ENABLED = 3,
                       DECMDF_LATCHED = 7, DECMDF_NINCHED = 11 };

// Error numbers raised by the surface (the platform's numbers).
namespace SurfaceErrorNumber {
constexpr std::int32_t Unexpected = std::int32_t(0x8000FFFFu);
constexpr std::int32_t FileNotFound = std::int32_t(0x80070002u);
constexpr std::int32_t PathNotFound = std::int32_t(0x80070003u);
constexpr std::int32_t DiskFull = std::int32_t(0x80070027u);
constexpr std::int32_t Frameset = std::int32_t(0x80100001u);
constexpr std::int32_t ServerScriptOnly = std::int32_t(0x80100002u);
constexpr std::int32_t InvalidArgument = 5;
constexpr std::int32_t AccessDenied = 70;
}  // namespace SurfaceErrorNumber

// A failing surface operation. number() is one of SurfaceErrorNumber.
class SurfaceError : public std::runtime_error {
public:
    SurfaceError(std::int32_t number, const QString& text)
        : std::runtime_error(text.toStdString()), m_number(number) {}
    std::int32_t number() const { return m_number; }
private:
    std::int32_t m_number;
};

// The table-parameter object of INSERTTABLE ("DEInsertTableParam").
struct TableParam {
    int NumRows = 1;
    int NumCols = 1;
    QString TableAttrs;
    QString CellAttrs;
    QString Caption;
};

}  // namespace orvane

Q_DECLARE_METATYPE(orvane::TableParam)
