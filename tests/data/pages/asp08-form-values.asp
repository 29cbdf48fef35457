<html>
<head><title>Edit profile</title></head>
<body>
<form method="post" action="save.asp">
<p>Name: <input name="name" value="<%= Server.HTMLEncode(Request("name")) %>"></p>
<p>Email: <input name="email" value='<%= rs("email") %>'></p>
<p>Notes:<br><textarea name="notes"><%= rs("notes") %></textarea></p>
<p><label><input type="radio" name="plan" value="a" <%= Checked(plan, "a") %>> Basic plan</label></p>
<p><input type="submit" value="Save changes"></p>
</form>
</body>
</html>
