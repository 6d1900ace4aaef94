/*
 * msvc_link: a 32-bit Windows program built as Microsoft's compiler and
 * linker build one (clang for i686-pc-windows-msvc, lld-link, no C runtime)
 * that refers to every function of grouper.h, declared as the header
 * declares them (__stdcall, dllimport), and links them through grouper.lib.
 * .ci/windows-x86.sh links it and reads its imports: each function must be
 * imported from grouper.dll by the plain name that the DLL exports.
 */
#include <grouper/grouper.h>

int __stdcall entry(void) {
  const void *volatile functions[] = {
      (const void *)grouper_next_read,          (const void *)grouper_group_line,
      (const void *)grouper_format_output_line, (const void *)grouper_format_console_line,
      (const void *)grouper_explain_json,       (const void *)grouper_explain_json_into,
      (const void *)grouper_group_line_into,    (const void *)grouper_layout,
      (const void *)grouper_version,            (const void *)grouper_version_number,
      (const void *)grouper_console_error_text,
  };
  return functions[0] != 0 && grouper_version_number() == GROUPER_VERSION_NUMBER ? 0 : 1;
}
