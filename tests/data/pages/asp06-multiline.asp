<%
Function Greeting(name)
  If Hour(Now()) < 12 Then
    Greeting = "Good morning, " & name
  Else
    Greeting = "Good afternoon, " & name
  End If
End Function

Dim visitor
visitor = Request.QueryString("name")
%>
<html>
<body>
<h2><%= Greeting(visitor) %></h2>
<p>This paragraph is plain text between two server blocks.</p>
<%
  For i = 1 To 3
    Response.Write "<p>Line " & i & "</p>"
  Next
%>
</body>
</html>
