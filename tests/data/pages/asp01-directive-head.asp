<%@ Language=VBScript %>
<% Option Explicit %>
<!-- #include file="config.inc" -->
<html>
<head>
<% Response.Buffer = True %>
<title><%= SiteName %> - Home</title>
<meta name="description" content="<%= Description %>">
</head>
<body>
<h1>Welcome to <%= SiteName %></h1>
<p>Today is <%= FormatDateTime(Now(), vbLongDate) %>.</p>
</body>
</html>
