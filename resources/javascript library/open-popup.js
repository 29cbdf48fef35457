<!-- Small window: opens a link in a window of its own, of a set size, for
     a picture or a price list. Use it on a link:
     <a href="prices.htm" onclick="return openSmallWindow(this.href, 420, 360)">Prices</a>
     Without scripts the link simply opens the page. -->
<script type="text/javascript">
function openSmallWindow(address, width, height) {
  var left = Math.max(0, (screen.width - width) / 2);
  var top = Math.max(0, (screen.height - height) / 2);
  var win = window.open(address, "small",
    "width=" + width + ",height=" + height + ",left=" + left + ",top=" + top +
    ",resizable=yes,scrollbars=yes");
  if (!win) {
    return true;  // pop-ups are blocked: follow the link instead
  }
  win.focus();
  return false;
}
</script>
