#include "Catalogue.h"

#include "SurfaceTypes.h"

#include <QHash>

namespace orvane {

namespace {

using K = Action::Kind;
const QString CRLF = QStringLiteral("\r\n");

Action insert(QStringList fragments) { return {.kind = K::Insert, .fragments = std::move(fragments)}; }
Action exec(int command, int option) { return {.kind = K::Exec, .command = command, .option = option}; }
Action paste(const QString& fragment) { return {.kind = K::Paste, .fragments = {fragment}}; }
Action source(K kind) { return {.kind = kind}; }
Action window(const QString& name) { return {.kind = K::OpenWindow, .window = name}; }

CommandMessage plain(const QString& text) { return {.text = text}; }
CommandMessage tip(const QString& text)
{
    return {.text = text, .icon = MsgIcon::Information, .title = QStringLiteral("Orvane Tip")};
}
Branch refuse(const CommandMessage& m) { return {.refusal = m}; }

const CommandMessage kStyleEditOnly = tip(QStringLiteral("Please Use this Menu in Edit Mode"));

// A toolbar or menu command that inserts fragments in Source mode and runs an
// editing command in Edit mode.
Command dual(const QString& control, const QString& caption, const QString& panel,
             const QStringList& fragments, After sourceAfter, int command, int option,
             Focus focus, bool skipErrors = false)
{
    const After editAfter = panel.isEmpty() ? After::Keep : After::Close;
    return {.control = control, .caption = caption, .panel = panel,
            .source = Branch{.action = insert(fragments), .after = sourceAfter},
            .edit = Branch{.action = exec(command, option), .focus = focus, .after = editAfter},
            .skipErrors = skipErrors};
}

// A menu command that pastes a fixed fragment in Edit mode and inserts it in Source mode.
Command character(const QString& control, const QString& caption, const QString& fragment)
{
    return {.control = control, .caption = caption, .panel = QStringLiteral("Picture_format"),
            .source = Branch{.action = insert({fragment}), .after = After::ResetItem},
            .edit = Branch{.action = paste(fragment), .focus = Focus::Surface, .after = After::Close}};
}

// An Edit-menu command: an editing command in Edit mode, a source pane operation in Source mode.
Command editItem(const QString& control, const QString& caption, K sourceKind, int command,
                 bool skipErrors = false)
{
    const QString panel = QStringLiteral("Picture_edit");
    return {.control = control, .caption = caption, .panel = panel,
            .source = Branch{.action = source(sourceKind), .after = After::Close},
            .edit = Branch{.action = exec(command, OLECMDEXECOPT_DODEFAULT), .focus = Focus::Surface,
                           .after = After::Close},
            .skipErrors = skipErrors};
}

// A toolbar clipboard command: the source pane keeps the focus in Source mode.
Command clipboardButton(const QString& control, const QString& tooltip, K sourceKind, int command,
                        bool skipErrors = false)
{
    return {.control = control, .caption = tooltip,
            .source = Branch{.action = source(sourceKind), .focus = Focus::Source},
            .edit = Branch{.action = exec(command, OLECMDEXECOPT_DODEFAULT), .focus = Focus::Surface},
            .skipErrors = skipErrors};
}

// A Form-menu item: close, ask, paste. Every Form item but TextArea skips errors.
Command formItem(const QString& control, const QString& caption, QList<Question> questions,
                 const QString& fragment, bool skipErrors = true)
{
    return {.control = control, .caption = caption, .panel = QStringLiteral("Picture_form"),
            .always = Branch{.closeFirst = true, .questions = std::move(questions),
                             .action = paste(fragment), .focus = Focus::Surface},
            .skipErrors = skipErrors};
}

// A design-surface-only menu command: the editing command, then close and focus.
Command surfaceItem(const QString& control, const QString& caption, const QString& panel,
                    int command, bool skipErrors)
{
    return {.control = control, .caption = caption, .panel = panel,
            .always = Branch{.action = exec(command, OLECMDEXECOPT_DODEFAULT),
                             .focus = Focus::Surface, .after = After::Close},
            .skipErrors = skipErrors};
}

// A Style stacking command refused in Source mode.
Command guardedStyleItem(const QString& control, const QString& caption, int command)
{
    Command c = surfaceItem(control, caption, QStringLiteral("Picture_Style"), command, true);
    c.edit = c.always;
    c.always.reset();
    c.source = refuse(kStyleEditOnly);
    return c;
}

// Create a DIV / Create a Span: refused in Source mode; in Edit mode close,
// ask the id then the class, paste the start tag.
Command styleTag(const QString& control, const QString& caption, const QString& idPrompt,
                 const QString& classPrompt, const QString& fragment)
{
    return {.control = control, .caption = caption, .panel = QStringLiteral("Picture_Style"),
            .source = refuse(kStyleEditOnly),
            .edit = Branch{.closeFirst = true,
                           .questions = {{idPrompt, QStringLiteral("CSS ID")},
                                         {classPrompt, QStringLiteral("CSS Class")}},
                           .action = paste(fragment), .focus = Focus::Surface},
            .skipErrors = true};
}

// A command that only shows a window; a menu item closes its panel first.
Command opener(const QString& control, const QString& caption, const QString& panel,
               const QString& name)
{
    return {.control = control, .caption = caption, .panel = panel,
            .always = Branch{.closeFirst = !panel.isEmpty(), .action = window(name)}};
}

// An ASP item: its caption (and the statement closing its block) at the caret; the panel stays open.
Command aspItem(const QString& control, const QString& caption, const QString& closing = {})
{
    return {.control = control, .caption = caption, .panel = QStringLiteral("Picture_asp"),
            .always = Branch{.action = insert({caption + closing}), .after = After::ResetItem}};
}

QList<Command> buildCatalogue()
{
    const QString format = QStringLiteral("Picture_format");
    const QString table = QStringLiteral("Picture_table");
    const QString style = QStringLiteral("Picture_Style");
    const QString java = QStringLiteral("Picture_java");
    const QString library = QStringLiteral("pic_library");
    const QString formName = QStringLiteral("Form Element Name");
    const QString formValue = QStringLiteral("Form Element Value");
    const int noPrompt = OLECMDEXECOPT_DONTPROMPTUSER;
    const int byDefault = OLECMDEXECOPT_DODEFAULT;

    QList<Command> c;

    // Format menu.
    c << dual("Label15", "Bold", format, {"<STRONG>    </STRONG>"}, After::Keep, DECMD_BOLD, noPrompt,
              Focus::Surface)
      << dual("Label16", "Italics", format, {"<I>    </I>"}, After::ResetItem, DECMD_ITALIC, noPrompt,
              Focus::Surface)
      << dual("Label17", "Underline", format, {"<U>    </U>"}, After::ResetItem, DECMD_UNDERLINE,
              noPrompt, Focus::Surface)
      << dual("Label18", "Indent", format, {"<BlockQuote>    </BlockQuote>"}, After::ResetItem,
              DECMD_INDENT, noPrompt, Focus::Surface, true);
    Command outdent = dual("Label19", "Outdent", format, {}, After::Keep, DECMD_OUTDENT, noPrompt,
                           Focus::Surface, true);
    outdent.source = refuse(plain("Please Use This Menu Item in Edit Mode"));
    c << outdent
      << character("Label20", "NonBreaking Space", "&nbsp;")
      << character("Label21", "Copyright", "&COPY;")
      << character("Label22", "Break", "<BR>")
      << surfaceItem("Label23", "Unlink", format, DECMD_UNLINK, false);

    // Toolbar formatting.
    c << dual("bold", "Bold", {}, {"<STRONG>    </STRONG>"}, After::Keep, DECMD_BOLD, noPrompt,
              Focus::Surface)
      << dual("italics", "Italics", {}, {"<I>    </I>"}, After::Keep, DECMD_ITALIC, noPrompt,
              Focus::Surface)
      << dual("underline", "Underline", {}, {"<U>    </U>"}, After::Keep, DECMD_UNDERLINE, noPrompt,
              Focus::Surface)
      << dual("left1", "Align Left", {}, {"<P ALIGN=LEFT>", "</P>"}, After::Keep, DECMD_JUSTIFYLEFT,
              byDefault, Focus::None)
      << dual("center", "Align Center", {}, {"<CENTER>    </CENTER>"}, After::Keep,
              DECMD_JUSTIFYCENTER, noPrompt, Focus::None)
      << dual("right", "Align Right", {}, {"<P ALIGN=RIGHT>    </P>"}, After::Keep,
              DECMD_JUSTIFYRIGHT, noPrompt, Focus::None)
      << dual("Image8", "Indent", {}, {"<BLOCKQUOTE>   </BLOCKQUOTE>"}, After::Keep, DECMD_INDENT,
              noPrompt, Focus::None);
    Command outdentButton = dual("Image9", "Outdent", {}, {}, After::Keep, DECMD_OUTDENT, noPrompt,
                                 Focus::None);
    outdentButton.source = refuse(plain("Please Use this in Edit Mode"));
    c << outdentButton
      << dual("Label51", "Ordered List", {}, {CRLF + "<OL>" + CRLF, "<LI>   </LI>" + CRLF, "</OL>"},
              After::Keep, DECMD_ORDERLIST, noPrompt, Focus::None, true)
      << dual("Label52", "UnOrdered List", {}, {CRLF + "<UL>" + CRLF, "<LI>    </LI>" + CRLF, "</UL>"},
              After::Keep, DECMD_UNORDERLIST, noPrompt, Focus::None, true);

    // Edit menu and the toolbar's clipboard buttons.
    c << editItem("Label8", "Undo", K::SourceUndo, DECMD_UNDO)
      << surfaceItem("Label9", "Redo", "Picture_edit", DECMD_REDO, false)
      << editItem("Label10", "Cut", K::SourceCut, DECMD_CUT)
      << editItem("Label11", "Copy", K::SourceCopy, DECMD_COPY)
      << editItem("Label12", "Paste", K::SourcePaste, DECMD_PASTE, true)
      << editItem("Label13", "Select All", K::SelectAll, DECMD_SELECTALL);
    Command find = editItem("Label14", "Find", K::Find, DECMD_FINDTEXT);
    find.source->closeFirst = true;
    find.source->questions = {{"Enter Word to Find", "Find Text"}};
    find.edit->focus = Focus::None;  // the surface's own find dialog keeps it
    c << find
      << clipboardButton("cut", "Cut", K::SourceCut, DECMD_CUT)
      << clipboardButton("copy", "Copy", K::SourceCopy, DECMD_COPY)
      << clipboardButton("paste", "Paste", K::SourcePaste, DECMD_PASTE, true);

    // Links and images.
    c << Command{.control = "Image2", .caption = "Insert Hyperlink",
                 .source = Branch{.questions = {{"Enter Url", "ENTER URL FOR HREF", "HTTP:\\\\"}},
                                  .action = insert({"<A HREF=\"{1}\">  </A>"})},
                 .edit = Branch{.action = exec(DECMD_HYPERLINK, byDefault)}}
      << Command{.control = "Image4", .caption = "Insert Image",
                 .source = Branch{.action = {.kind = K::InsertImage,
                                             .fragments = {"<IMG SRC=\"{1}\">"}}},
                 .edit = Branch{.action = exec(DECMD_IMAGE, byDefault)}};

    // Form menu.
    c << formItem("Label70", "Form", {{"Enter an Action", formName, "HTTP://"}},
                  "<FORM ACTION=\"{1}\" METHOD=POST>  &nbsp;</FORM>")
      << formItem("Label32", "Textbox", {{"Enter a Name For Your Textbox.", formName}},
                  "<Input Type='text' Name='{1}'>")
      << formItem("Label33", "Password", {{"Enter a Name For Your Password box.", formName}},
                  "<Input Type=Password Name={1}>")
      << formItem("Label34", "Radio",
                  {{"Enter a Name for Your Radio Button.", formName},
                   {"Enter a Value for Your Radio Button.", formValue}},
                  "<Input Type=Radio Value={2} Name={1}>")
      << formItem("Label35", "Checkbox",
                  {{"Enter a Name for Your Checkbox.", "Enter Form Element Name"},
                   {"Enter a Value for Your Checkbox.", formValue}},
                  "<Input Type=Checkbox Value={2} Name={1}>")
      << formItem("Label36", "TextArea", {{"Enter a Name for Your Textarea.", formName}},
                  "<Textarea cols=20 rows=20 Name={1}>", false)
      << formItem("Label37", "Submit",
                  {{"Enter a Value for Your Submit Button.", formValue},
                   {"Enter a Name for your Submit Button.", formName}},
                  "<Input Type=Submit Name={2} Value='{1}'>")
      << formItem("Label38", "Reset", {}, "<Input Type=Reset>")
      << formItem("Label39", "Button",
                  {{"Enter a Value for Your Button.", formValue},
                   {"Enter a Name for your Button.", formName}},
                  "<Input Type=Button Name={2} Value='{1}'>")
      << formItem("Label40", "Hidden", {{"Enter a Name for your Hidden Field.", formName}},
                  "<Input Type=Hidden Name={1}>");

    // Table menu and the table wizard button.
    c << opener("Label24", " Wizard", table, "tblfFrm")
      << surfaceItem("Label25", "Delete Row", table, DECMD_DELETEROWS, true)
      << surfaceItem("Label26", "Delete Column", table, DECMD_DELETECOLS, true)
      << surfaceItem("Label27", "Add Row", table, DECMD_INSERTROW, true)
      << surfaceItem("Label28", "Add Column", table, DECMD_INSERTCOL, true)
      << surfaceItem("Label29", "Split Cells", table, DECMD_SPLITCELL, true)
      << surfaceItem("Label30", "Merge Cells", table, DECMD_MERGECELLS, true)
      << opener("Image3", "Table Wizard", {}, "tblfFrm");

    // Style menu and the style sheet button.
    c << opener("Label41", "Create a Style Class", style, "StyleFrm")
      << styleTag("Label42", "Create a DIV", "Enter an Id For Your Division.",
                  "Enter a Class For Your Division.", "<DIV Class={2} id={1}>")
      << styleTag("Label43", "Create a Span", "Enter an Id For Your Span.",
                  "Enter a Class For Your Span.", "<Span Class={2} Id={1}>")
      << guardedStyleItem("Label44", "Bring Forward", DECMD_BRING_FORWARD)
      << guardedStyleItem("Label45", "Bring to Front", DECMD_BRING_TO_FRONT)
      << surfaceItem("Label46", "Send Backward", style, DECMD_SEND_BACKWARD, false)
      << surfaceItem("Label47", "Send to Back", style, DECMD_SEND_TO_BACK, true)
      << surfaceItem("Label48", "Send Below Text", style, DECMD_SEND_BELOW_TEXT, true)
      << surfaceItem("Label49", "Send Above Text", style, DECMD_BRING_ABOVE_TEXT, true)
      << surfaceItem("Label50", "Absolute Position", style, DECMD_MAKE_ABSOLUTE, true)
      << opener("Label53", "Style Sheets", {}, "StyleFrm");

    // JavaScript menu: both wizards work on the source text only.
    c << Command{.control = "Label56", .caption = "Events Wizard", .panel = java,
                 .source = Branch{.closeFirst = true,
                                  .notice = tip("Step 1. Click the Element Where You would Like "
                                                "This Event to Occur!"),
                                  .action = window("javaWiz")},
                 .edit = Branch{.closeFirst = true,
                                .refusal = plain("Please Change to Source Mode to Use This Component")}}
      << Command{.control = "Label57", .caption = "Image Rollover Wizard", .panel = java,
                 .source = Branch{.closeFirst = true, .action = window("funcFrm")},
                 .edit = refuse(plain("Please Use This Feature in Source Mode"))};

    // ASP menu.
    c << aspItem("Label58", "<% %>")
      << aspItem("Label59", "Respose.write()")
      << aspItem("Label60", "Response.Redirect")
      << aspItem("Label61", "Request.QueryString()")
      << aspItem("Label62", "Request.Form()")
      << aspItem("Label63", "Sever.CreateObject()")
      << aspItem("Label64", "Session()")
      << aspItem("Label65", "Application()")
      << aspItem("Label66", "Sub", "  End Sub")
      << aspItem("Label67", "For", "  Next")
      << aspItem("Label68", "While", "  Loop");

    // Libraries, Help and the remaining toolbar windows.
    c << opener("L", "Image Library", library, "IlibFrm")
      << opener("S", "Script Library", library, "SlibFrm")
      << opener("Label_help", "Help", {}, "helpFrm")
      << opener("Image5", "Image Map Wizard", {}, "frmMain")
      << opener("Image6", "Change Colors", {}, "clrfrm")
      << opener("Image7", "Ftp", {}, "frmFtp");
    return c;
}

}  // namespace

const QList<Command>& commandCatalogue()
{
    static const QList<Command> catalogue = buildCatalogue();
    return catalogue;
}

const Command* findCommand(const QString& control)
{
    static const QHash<QString, const Command*> byControl = [] {
        QHash<QString, const Command*> h;
        for (const Command& c : commandCatalogue())
            h.insert(c.control, &c);
        return h;
    }();
    return byControl.value(control, nullptr);
}

}  // namespace orvane
