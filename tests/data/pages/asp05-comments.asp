<html>
<head><title>Comments</title></head>
<body>
<!-- generated at <%= Now() %> by <%= Request.ServerVariables("SCRIPT_NAME") %> -->
<!-- #include virtual="/inc/header.inc" -->
<p>Regular paragraph between comments.</p>
<!-- <% ' a server block that mentions --> inside its string
s = "-->" %> -->
<p>Another paragraph after the tricky comment.</p>
<%-- a server comment with %> inside --%>
</body>
</html>
