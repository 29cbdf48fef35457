<!-- Hidden e-mail address: writes a mail link whose address never appears
     whole in the page, so address-collecting robots miss it. Change the two
     parts to your own address. -->
<script type="text/javascript">
(function () {
  var user = "info";
  var domain = "example.org";
  var address = user + "@" + domain;
  document.write('<a href="mailto:' + address + '">' + address + "</a>");
})();
</script>
<noscript>info at example.org</noscript>
