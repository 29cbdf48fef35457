<!-- Last-modified date: writes the date the server last changed this page,
     for example "Last updated: 7 December 2026". Put it where the date should
     appear, usually at the foot of the page. -->
<script type="text/javascript">
(function () {
  var months = ["January", "February", "March", "April", "May", "June", "July",
                "August", "September", "October", "November", "December"];
  var changed = new Date(document.lastModified);
  if (!isNaN(changed.getTime())) {
    document.write("Last updated: " + changed.getDate() + " " +
                   months[changed.getMonth()] + " " + changed.getFullYear());
  }
})();
</script>
