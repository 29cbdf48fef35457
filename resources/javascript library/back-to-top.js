<!-- Back to top: a link that appears once the visitor has scrolled down and
     takes them smoothly back to the top of a long page. -->
<a id="backToTop" href="#" style="position: fixed; right: 16px; bottom: 16px; display: none;">Back to top</a>
<script type="text/javascript">
(function () {
  var link = document.getElementById("backToTop");
  window.onscroll = function () {
    link.style.display = (window.pageYOffset > 300) ? "block" : "none";
  };
  link.onclick = function () {
    window.scrollTo({ top: 0, behavior: "smooth" });
    return false;
  };
})();
</script>
