#include "MenuLayout.h"

namespace orvane::menubar {

const QList<HeaderRow>& menuHeaders()
{
    static const QList<HeaderRow> headers{
        {"label_file", "File", 120, 375, "Picture1", {"Picture_edit"}, Gate::EditOnly, {"Label1"}},
        {"Label_edit", "Edit", 840, 375, "Picture_edit", {"Picture1", "Picture_format"},
         Gate::EditOnly, {"Label9"}},
        {"Label_format", "Format", 1560, 615, "Picture_format", {"Picture_edit", "Picture_table"},
         Gate::EditOnly, {"Label23"}},
        {"Label_table", "Table", 2520, 495, "Picture_table", {"Picture_format", "Picture_form"},
         Gate::EditOnly, {}},
        {"Label_form", "Form", 3360, 495, "Picture_form", {"Picture_table", "Picture_Style"},
         Gate::EditOnly, {}},
        {"Label_style", "Style", 4200, 495, "Picture_Style", {"Picture_form", "Picture_java"},
         Gate::EditOnly, {}},
        {"Label_java", "JavaScript", 5040, 855, "Picture_java", {"Picture_Style", "Picture_asp"},
         Gate::None, {}},
        {"Label_asp", "ASP", 6240, 375, "Picture_asp", {"Picture_java"}, Gate::SourceOnly, {}},
        {"Label69", "Libraries", 6840, 855, "pic_library", {}, Gate::None, {}},
        {"Label_help", "Help", 7920, 495, {}, {}, Gate::None, {}},
    };
    return headers;
}

const QList<PanelRow>& menuPanels()
{
    static const QList<PanelRow> panels{
        {"Picture1", 120, 240, 1545, 2775,
         {{"Label6", "New", 0, 495}, {"Label3", "Open", 480, 495},
          {"Label1", "Open From Web", 960, 1215}, {"Label4", "Save", 1440, 615},
          {"Label5", "Save As", 1920, 735}, {"Label7", "Exit", 2400, 375}}},
        {"Picture_edit", 840, 240, 1335, 3255,
         {{"Label8", "Undo", 0, 495}, {"Label9", "Redo", 480, 495}, {"Label10", "Cut", 960, 375},
          {"Label11", "Copy", 1440, 495}, {"Label12", "Paste", 1920, 495},
          {"Label13", "Select All", 2400, 735}, {"Label14", "Find", 2880, 855}}},
        {"Picture_format", 1560, 240, 1695, 4215,
         {{"Label15", "Bold", 0, 495}, {"Label16", "Italics", 480, 495},
          {"Label17", "Underline", 960, 735}, {"Label18", "Indent", 1440, 855},
          {"Label19", "Outdent", 1920, 855}, {"Label20", "NonBreaking Space", 2400, 1455},
          {"Label21", "Copyright", 2880, 735}, {"Label22", "Break", 3360, 495},
          {"Label23", "Unlink", 3840, 495}}},
        {"Picture_table", 2520, 240, 1935, 3615,
         {{"Label24", " Wizard", 0, 615}, {"Label25", "Delete Row", 480, 855},
          {"Label26", "Delete Column", 960, 1095}, {"Label27", "Add Row", 1440, 855},
          {"Label28", "Add Column", 2040, 975}, {"Label29", "Split Cells", 2640, 975},
          {"Label30", "Merge Cells", 3240, 975}}},
        {"Picture_form", 3360, 240, 1335, 4695,
         {{"Label70", "Form", 0, 375}, {"Label32", "Textbox", 480, 615},
          {"Label33", "Password", 960, 855}, {"Label34", "Radio", 1440, 495},
          {"Label35", "Checkbox", 1920, 735}, {"Label36", "TextArea", 2400, 735},
          {"Label37", "Submit", 2880, 495}, {"Label38", "Reset", 3360, 495},
          {"Label39", "Button", 3840, 615}, {"Label40", "Hidden", 4320, 615}}},
        {"Picture_Style", 4200, 240, 1935, 4815,
         {{"Label41", "Create a Style Class", 0, 1575}, {"Label42", "Create a DIV", 480, 975},
          {"Label43", "Create a Span", 960, 1095}, {"Label44", "Bring Forward", 1440, 1095},
          {"Label45", "Bring to Front", 1920, 1095}, {"Label46", "Send Backward", 2400, 1335},
          {"Label47", "Send to Back", 2880, 1095}, {"Label48", "Send Below Text", 3360, 1335},
          {"Label49", "Send Above Text", 3840, 1335},
          {"Label50", "Absolute Position", 4320, 1335}}},
        {"Picture_java", 5040, 240, 1935, 855,
         {{"Label56", "Events Wizard", 0, 1215}, {"Label57", "Image Rollover Wizard", 480, 1695}}},
        {"Picture_asp", 6240, 240, 2175, 4215,
         {{"Label58", "<% %>", 120, 615}, {"Label59", "Respose.write()", 480, 1335},
          {"Label60", "Response.Redirect", 840, 1455}, {"Label61", "Request.QueryString()", 1200, 1695},
          {"Label62", "Request.Form()", 1560, 1215}, {"Label63", "Sever.CreateObject()", 1920, 1575},
          {"Label64", "Session()", 2280, 855}, {"Label65", "Application()", 2640, 975},
          {"Label66", "Sub", 3000, 375}, {"Label67", "For", 3360, 375},
          {"Label68", "While", 3720, 495}}},
        {"pic_library", 6840, 240, 1695, 1095,
         {{"L", "Image Library", 120, 1215}, {"S", "Script Library", 600, 1095}}},
    };
    return panels;
}

const QStringList& allPanelsInClosingOrder()
{
    static const QStringList order{"Picture_Style", "Picture_form", "Picture_edit",
                                   "Picture_table", "Picture1", "Picture_format",
                                   "Picture_java", "Picture_asp", "pic_library"};
    return order;
}

const QStringList& sideBarClosedPanels()
{
    static const QStringList panels = allPanelsInClosingOrder().mid(0, 6);
    return panels;
}

}  // namespace orvane::menubar
