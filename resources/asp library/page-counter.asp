<%@ Language="VBScript" %>
<%
' Visit counter: counts the visits of this page in a text file beside it and
' writes the number. Each visitor's session is counted once. The web server
' needs the right to write counter.txt.
Option Explicit
Dim fso, counterFile, visits, file
Set fso = Server.CreateObject("Scripting.FileSystemObject")
counterFile = Server.MapPath("counter.txt")
visits = 0

Application.Lock
If fso.FileExists(counterFile) Then
    Set file = fso.OpenTextFile(counterFile, 1)
    If Not file.AtEndOfStream Then visits = CLng("0" & file.ReadLine)
    file.Close
End If
If Session("counted") <> True Then
    visits = visits + 1
    Session("counted") = True
    Set file = fso.CreateTextFile(counterFile, True)
    file.WriteLine visits
    file.Close
End If
Application.UnLock
Set fso = Nothing
%>
<p>This page has had <%= visits %> visits.</p>
