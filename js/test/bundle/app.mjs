// A web application's use of the package, which a bundler makes into one
// script for browsers: the page of a record system that answers a file.
import { groupFile, version } from 'grouper';

export function answer(bytes) {
  return { version, ...groupFile(bytes) };
}
