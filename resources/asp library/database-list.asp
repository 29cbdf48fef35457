<%@ Language="VBScript" %>
<%
' Database list: shows the rows of a table as an HTML table, newest first.
' Change the connection string, the table and the column names to your own.
Option Explicit
Dim conn, rs
Set conn = Server.CreateObject("ADODB.Connection")
conn.Open "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" & Server.MapPath("/data/site.mdb")
Set rs = conn.Execute("SELECT Title, Added, Author FROM News ORDER BY Added DESC")
%>
<table border="1" cellpadding="4" cellspacing="0">
  <tr><th>Title</th><th>Date</th><th>Author</th></tr>
<% If rs.EOF Then %>
  <tr><td colspan="3">Nothing to show yet.</td></tr>
<% End If
Do While Not rs.EOF %>
  <tr>
    <td><%= Server.HTMLEncode(rs("Title")) %></td>
    <td><%= FormatDateTime(rs("Added"), vbShortDate) %></td>
    <td><%= Server.HTMLEncode(rs("Author")) %></td>
  </tr>
<%   rs.MoveNext
Loop
rs.Close
conn.Close
Set rs = Nothing
Set conn = Nothing %>
</table>
