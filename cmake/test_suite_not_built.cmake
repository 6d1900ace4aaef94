# The one test of a build configured without GoogleTest: it fails and says why.
message(FATAL_ERROR
  "The test suite was not built: GoogleTest was not found when this build was configured. "
  "Install it (apt-get install libgtest-dev) and configure again.")
