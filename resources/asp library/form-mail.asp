<%@ Language="VBScript" %>
<%
' Form mail: sends the fields of a contact form (name, email, message) to the
' site's address with CDO, then thanks the visitor. Point the form's action
' at this page with method="post". Set the SMTP server to your host's.
Option Explicit
Const MailTo = "info@example.org"
Const SmtpServer = "localhost"

Dim visitorName, visitorMail, message, sent
visitorName = Trim(Request.Form("name"))
visitorMail = Trim(Request.Form("email"))
message = Trim(Request.Form("message"))
sent = False

If Request.ServerVariables("REQUEST_METHOD") = "POST" And message <> "" Then
    Dim mail
    Set mail = Server.CreateObject("CDO.Message")
    mail.Configuration.Fields.Item("http://schemas.microsoft.com/cdo/configuration/sendusing") = 2
    mail.Configuration.Fields.Item("http://schemas.microsoft.com/cdo/configuration/smtpserver") = SmtpServer
    mail.Configuration.Fields.Update
    mail.From = MailTo
    mail.To = MailTo
    ' The visitor's address goes in Reply-To only, never in From or To.
    mail.ReplyTo = Replace(Replace(visitorMail, vbCr, ""), vbLf, "")
    mail.Subject = "Message from the web site"
    mail.TextBody = "Name: " & visitorName & vbCrLf & "E-mail: " & visitorMail & _
                    vbCrLf & vbCrLf & message
    mail.Send
    Set mail = Nothing
    sent = True
End If
%>
<% If sent Then %>
  <p>Thank you, <%= Server.HTMLEncode(visitorName) %>. Your message has been sent.</p>
<% Else %>
  <p>Please write a message before sending the form.</p>
<% End If %>
