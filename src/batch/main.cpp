// grouper IN OUT: answers every assessment record of IN with its patient group
// code or the first rule it breaks, one line of OUT per line of IN.
#include "batch/batch_run.h"

int main(int argc, char** argv) {
  return grouper::RunBatch(argc, argv);
}
