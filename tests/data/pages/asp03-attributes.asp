<html>
<body>
<p>Links built on the server:</p>
<a href="<%= BaseUrl %>/products.asp?id=<%= id %>">Product</a>
<a href=<%= Link %> title='<%= Title %>'>Unquoted</a>
<img src="<%= ImagePath %>" <% If wide Then %>width=600<% Else %>width=300<% End If %> alt="picture">
<td <%= CellAttrs %>>odd cell outside a table</td>
<input type="checkbox" name="agree" <% If agreed Then Response.Write "checked" %>>
<div class="<%= cssClass %>" style="color: <%= colour %>">Styled text</div>
</body>
</html>
