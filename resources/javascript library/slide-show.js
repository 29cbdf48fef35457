<!-- Slide show: shows the pictures of the list one after the other in the
     image named "slide", changing every four seconds; a click on the picture
     moves on at once. Place the image first:
     <img id="slide" src="photo1.jpg" alt="Our garden through the year"> -->
<script type="text/javascript">
var slides = ["photo1.jpg", "photo2.jpg", "photo3.jpg", "photo4.jpg"];
var slideIndex = 0;

function nextSlide() {
  slideIndex = (slideIndex + 1) % slides.length;
  document.getElementById("slide").src = slides[slideIndex];
}

(function () {
  // Load every picture once so the changes do not flicker.
  for (var i = 0; i < slides.length; i++) {
    new Image().src = slides[i];
  }
  var picture = document.getElementById("slide");
  picture.style.cursor = "pointer";
  picture.onclick = nextSlide;
  setInterval(nextSlide, 4000);
})();
</script>
