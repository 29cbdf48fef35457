<!-- Clock: shows the visitor's time, updated every second, in the element
     with the id "clock":
     <span id="clock"></span> -->
<script type="text/javascript">
function showTime() {
  var now = new Date();
  var pad = function (n) { return (n < 10 ? "0" : "") + n; };
  var text = pad(now.getHours()) + ":" + pad(now.getMinutes()) + ":" + pad(now.getSeconds());
  var clock = document.getElementById("clock");
  if (clock) {
    clock.innerHTML = text;
  }
}
showTime();
setInterval(showTime, 1000);
</script>
