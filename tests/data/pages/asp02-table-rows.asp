<html>
<body>
<p>Latest orders from the shop database.</p>
<table border="1" width="100%">
<tr><th>Number</th><th>Customer</th></tr>
<% Do While Not rs.EOF %>
<tr>
<td><%= rs("id") %></td>
<td><%= Server.HTMLEncode(rs("name")) %></td>
</tr>
<% rs.MoveNext
Loop %>
<% If count = 0 Then %>
<tr><td colspan=2>No orders</td></tr>
<% End If %>
</table>
</body>
</html>
