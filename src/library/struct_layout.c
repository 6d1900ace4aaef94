/*
 * struct_layout: the layout of every structure of grouper.h that a binding
 * copies, as this platform's C compiler lays it out. One line each: the
 * structure's name and its size, then "structure.field offset" for each of
 * its fields. The bindings' tests compare their own copies with these lines,
 * so that a change to a structure fails a test instead of garbling answers.
 */
#include <grouper/grouper.h>
#include <stddef.h>
#include <stdio.h>

#define FIELD(type, field) printf(#type "." #field " %u\n", (unsigned)offsetof(type, field))

int main(void) {
  printf("grouper_result %u\n", (unsigned)sizeof(grouper_result));
  FIELD(grouper_result, kind);
  FIELD(grouper_result, form_version);
  FIELD(grouper_result, group_code);
  FIELD(grouper_result, message);
  FIELD(grouper_result, message_utf8);
  return 0;
}
