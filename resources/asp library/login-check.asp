<%
' Members-only page: include this at the very top of a page that only
' signed-in visitors may see. Anyone else is sent to the sign-in page, which
' sets Session("member") once the password is right.
If Session("member") = "" Then
    Response.Redirect "/signin.asp?back=" & Server.URLEncode(Request.ServerVariables("URL"))
End If
%>
