<html>
<body>
<form action="choose.asp" method="get">
<p>Pick a colour from the list below.</p>
<select name="colour">
<% For Each c In Colours %>
<option value="<%= c %>"<% If c = chosen Then %> selected<% End If %>><%= c %></option>
<% Next %>
</select>
<input type="submit" value="Choose">
</form>
</body>
</html>
