#pragma once
// A large hand-written-looking page made on the spot (so no multi-megabyte
// file sits in the repository): CR LF line ends, upper- and lower-case
// markup, tables with spans, entities, comments and server blocks.

#include <QString>

namespace orvane::test {

inline QString generatedPage(qsizetype minimumSize) {
    QString page = QStringLiteral(
        "<%@ Language=VBScript %>\r\n<HTML>\r\n<HEAD>\r\n<TITLE>Catalogue</TITLE>\r\n"
        "<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">\r\n</HEAD>\r\n"
        "<BODY BGCOLOR=#FFFFFF>\r\n<P>Opening paragraph of the catalogue.</P>\r\n");
    for (int i = 0; page.size() < minimumSize; ++i) {
        page += QStringLiteral(
                    "<!-- section %1 -->\r\n<H2>Section %1</H2>\r\n"
                    "<p class=intro>Items of section %1 &amp; friends &COPY; <b>bold</b> <i>it</i>.\r\n"
                    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n<TR><TH COLSPAN=2>Name<TH>Price\r\n"
                    "<% For Each item In Section(%1) %>\r\n"
                    "<TR><TD ROWSPAN=2><A HREF=\"item.asp?id=<%= item.Id %>\">item</A><TD>%1<TD>&euro; 5\r\n"
                    "<TR><TD COLSPAN=2>note for %1</TD></TR>\r\n<% Next %>\r\n</TABLE>\r\n"
                    "<ul><li>one<li>two <%= Extra(%1) %><li>three</ul>\r\n")
                    .arg(i);
    }
    page += QStringLiteral("</BODY>\r\n</HTML>\r\n");
    return page;
}

}  // namespace orvane::test
