<html>
<head>
<title>Script</title>
<script language="JavaScript">
var userName = "<%= Session("user") %>";
var items = <%= itemCount %>;
function check() {
  if (items < 1) { alert("<%= EmptyMessage %>"); return false; }
  return true;
}
</script>
<style>
body { background: <%= Background %>; }
</style>
</head>
<body onload="check()">
<p>Script values come from the server session.</p>
</body>
</html>
