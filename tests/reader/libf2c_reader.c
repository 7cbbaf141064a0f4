/* The script words of script.hpp run with libf2c's list-directed reader, each statement
 * printing the line our reader's twin prints for it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Last: it defines abs, min and max as macros. */
#include <f2c.h>

extern int s_rsle(cilist*), do_lio(ftnint*, ftnint*, char*, ftnlen), e_rsle(void);
extern integer f_open(olist*);
extern int xargc;
extern char** xargv;

enum { kMaxItems = 64, kMaxText = 256, kNameLength = 79 };

static cilist statement = {0, 5, 0, 0, 0};

static void open_data_file(const char* name) {
  static char padded[kNameLength + 1]; /* a CHARACTER*79, blank-padded */
  static olist open_list = {0, 10, padded, kNameLength, "old", 0, 0, 0, 0};
  snprintf(padded, sizeof padded, "%-79.79s", name);
  f_open(&open_list);
  statement.ciunit = 10;
}

static void run_statement(char kind, int n) {
  integer integers[kMaxItems];
  doublereal doubles[kMaxItems];
  char text[kMaxText];
  ftnint one = 1, type_integer = 3, type_double = 5, type_text = 9; /* libf2c's TY codes */
  for (int k = 0; k < kMaxItems; k++) integers[k] = -7, doubles[k] = -7.0;
  memset(text, '?', sizeof text);
  s_rsle(&statement);
  for (int k = 0; k < n && kind == 'i'; k++)
    do_lio(&type_integer, &one, (char*)&integers[k], (ftnlen)sizeof(integer));
  for (int k = 0; k < n && kind == 'd'; k++)
    do_lio(&type_double, &one, (char*)&doubles[k], (ftnlen)sizeof(doublereal));
  if (kind == 'c') do_lio(&type_text, &one, text, (ftnlen)n);
  e_rsle();

  printf("%c%d:", kind, n);
  for (int k = 0; k < n && kind == 'i'; k++) printf(" %d", (int)integers[k]);
  for (int k = 0; k < n && kind == 'd'; k++) printf(" %.17g", doubles[k]);
  for (int k = 0; k < n && kind == 'c'; k++) {
    unsigned char c = (unsigned char)text[k];
    printf(k == 0 ? " [" : "");
    printf(c >= 32 && c < 127 ? "%c" : "\\x%02x", c);
  }
  printf(kind == 'c' ? "]\n" : "\n");
  fflush(stdout); /* before a later fatal error can lose it */
}

int MAIN__(void) {
  for (int a = 1; a < xargc; a++) {
    const char* word = xargv[a];
    char* end = NULL;
    long n = word[0] == '\0' ? 0 : strtol(word + 1, &end, 10);
    if (word[0] == 'F') {
      open_data_file(word + 1);
    } else if (word[0] && strchr("idc", word[0]) && *end == '\0' && n >= 1 &&
               n <= (word[0] == 'c' ? kMaxText : kMaxItems)) {
      run_statement(word[0], (int)n);
    } else {
      fprintf(stderr, "bad script word %s\n", word);
      return 2;
    }
  }
  return 0;
}
