<%@ LANGUAGE="VBSCRIPT" CODEPAGE="65001" %>
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Transitional//EN">
<HTML>
<HEAD>
<TITLE><%= PageTitle %></TITLE>
<% Call WriteMetaTags() %>
</HEAD>
<BODY BGCOLOR="<%= Bg %>">
<% If Session("admin") Then %>
<P CLASS=admin>Administrator tools are <B>enabled</B>.</P>
<% End If %>
<TABLE BORDER=0>
<TR><TD>Visitors</TD><TD ALIGN=RIGHT><%= Application("hits") %></TD></TR>
<% For Each k In Stats %><TR><TD><%= k %></TD><TD><%= Stats(k) %></TD></TR><% Next %>
</TABLE>
<SCRIPT LANGUAGE="VBScript" RUNAT="Server">
Sub Log(msg)
  Application("log") = Application("log") & msg
End Sub
</SCRIPT>
<P>Footer text &copy; <%= Year(Now()) %></P>
</BODY>
</HTML>
