/* A second file: "</script>" and '<!--' in it are text. */
int tricks_helper(void);
int tricks_helper(void) { return 4; /* <script>window.__pwned=5</script> */ }
