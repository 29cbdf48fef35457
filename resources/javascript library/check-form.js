<!-- Form check: refuses to send a form while a required field is empty or
     the e-mail address does not look like one. Give each required field the
     class "required" and call checkForm from the form's onsubmit:
     <form action="send.asp" method="post" onsubmit="return checkForm(this)"> -->
<script type="text/javascript">
function checkForm(form) {
  for (var i = 0; i < form.elements.length; i++) {
    var field = form.elements[i];
    if (/(^| )required( |$)/.test(field.className) && field.value.replace(/\s+/g, "") === "") {
      alert("Please fill in the field \"" + (field.title || field.name) + "\".");
      field.focus();
      return false;
    }
    if (field.type === "email" || field.name === "email") {
      if (field.value !== "" && !/^[^@\s]+@[^@\s]+\.[^@\s]+$/.test(field.value)) {
        alert("The e-mail address \"" + field.value + "\" does not look right.");
        field.focus();
        return false;
      }
    }
  }
  return true;
}
</script>
