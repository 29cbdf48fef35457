<%@ Language="VBScript" %>
<%
' Shared header and footer: every page includes the same two files, so the
' site's banner and menu are changed in one place. Keep header.asp and
' footer.asp in an "includes" folder at the root of the site.
Option Explicit
Dim pageTitle
pageTitle = "Welcome"
%>
<!-- #include virtual="/includes/header.asp" -->

<h1><%= Server.HTMLEncode(pageTitle) %></h1>
<p>The page's own content goes here.</p>

<!-- #include virtual="/includes/footer.asp" -->
