<%@ Language=VBScript %>
<%
' This page only redirects.
If Request.Cookies("lang") = "fr" Then
  Response.Redirect "fr/index.asp"
Else
  Response.Redirect "en/index.asp"
End If
%>
