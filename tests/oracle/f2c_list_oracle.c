/* Reads with libf2c's list-directed input, driven by a script on the command line, so
 * that our reader can be compared with it statement by statement.
 *
 *   iN     one read statement of N integers     (1 <= N <= 64)
 *   dN     one read statement of N doubles      (1 <= N <= 64)
 *   cN     one read statement of one text of N characters (1 <= N <= 256)
 *   Fname  open unit 10, status 'old', on `name` (blank-padded to 79 characters) and read
 *          from it from then on; before that, statements read unit 5 (standard input)
 *
 * After each statement: the script word, a colon, and the targets' values (integers in
 * decimal, doubles as %a, text between brackets with unprintable bytes as \xNN). Targets
 * that get no value keep their starting value: -7, or a text of question marks.
 *
 * With the one argument --serve it runs many scripts instead (for fuzzing): requests
 * come on descriptor 3, one a line: the path of the input for standard input, then the
 * script words. Each runs in a child of its own, whose wait status goes back on
 * descriptor 4. A fork costs far less than starting the program anew. */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

/* Last: it defines abs, min and max as macros. */
#include <f2c.h>
#undef abs
#undef min
#undef max

extern int s_rsle(cilist*), do_lio(ftnint*, ftnint*, char*, ftnlen), e_rsle(void);
extern integer f_open(olist*);

enum { kMaxItems = 64, kMaxText = 256, kNameLength = 79 };
enum { kTypeInteger = 3, kTypeDouble = 5, kTypeText = 9 };

extern int xargc;
extern char** xargv;

static cilist statement = {0, 5, 0, 0, 0};

static void open_data_file(const char* name) {
  static char padded[kNameLength];
  static olist open_list;
  size_t length = strlen(name);
  if (length > kNameLength) length = kNameLength;
  memset(padded, ' ', sizeof padded);
  memcpy(padded, name, length);
  open_list.ounit = 10;
  open_list.ofnm = padded;
  open_list.ofnmlen = kNameLength;
  open_list.osta = "old";
  f_open(&open_list);
  statement.ciunit = 10;
}

static void print_text(const char* text, int length) {
  printf(" [");
  for (int k = 0; k < length; k++) {
    unsigned char c = (unsigned char)text[k];
    if (c >= 32 && c < 127)
      putchar(c);
    else
      printf("\\x%02x", c);
  }
  printf("]");
}

static void run_statement(const char* word) {
  integer integers[kMaxItems];
  doublereal doubles[kMaxItems];
  char text[kMaxText];
  ftnint one = 1, type_integer = kTypeInteger, type_double = kTypeDouble, type_text = kTypeText;
  int n = atoi(word + 1);
  int limit = word[0] == 'c' ? kMaxText : kMaxItems;
  if (n < 1 || n > limit) {
    fprintf(stderr, "bad script word %s\n", word);
    exit(2);
  }
  for (int k = 0; k < kMaxItems; k++) {
    integers[k] = -7;
    doubles[k] = -7.0;
  }
  memset(text, '?', sizeof text);

  s_rsle(&statement);
  for (int k = 0; k < n && word[0] == 'i'; k++)
    do_lio(&type_integer, &one, (char*)&integers[k], (ftnlen)sizeof(integer));
  for (int k = 0; k < n && word[0] == 'd'; k++)
    do_lio(&type_double, &one, (char*)&doubles[k], (ftnlen)sizeof(doublereal));
  if (word[0] == 'c') do_lio(&type_text, &one, text, (ftnlen)n);
  e_rsle();

  printf("%s:", word);
  for (int k = 0; k < n && word[0] == 'i'; k++) printf(" %d", (int)integers[k]);
  for (int k = 0; k < n && word[0] == 'd'; k++) printf(" %a", doubles[k]);
  if (word[0] == 'c') print_text(text, n);
  printf("\n");
  fflush(stdout);
}

static void run_word(const char* word) {
  switch (word[0]) {
    case 'F':
      open_data_file(word + 1);
      break;
    case 'i':
    case 'd':
    case 'c':
      run_statement(word);
      break;
    default:
      fprintf(stderr, "bad script word %s\n", word);
      exit(2);
  }
}

static void run_request(char* line) {
  enum { kMaxWords = 256 };
  char* words[kMaxWords];
  int n = 0;
  for (char* w = strtok(line, " \n"); w != NULL && n < kMaxWords; w = strtok(NULL, " \n"))
    words[n++] = w;
  if (n == 0) return;
  pid_t pid = fork();
  if (pid == 0) {
    int input = open(words[0], O_RDONLY);
    if (input < 0 || dup2(input, 0) < 0) _exit(3);
    close(input);
    close(3);
    close(4);
    for (int k = 1; k < n; k++) run_word(words[k]);
    exit(0); /* libf2c's exit routine flushes and closes its units */
  }
  int status = -1;
  while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (write(4, &status, sizeof status) != (ssize_t)sizeof status) exit(4);
}

static int serve(void) {
  FILE* requests = fdopen(3, "r");
  static char line[1 << 16];
  if (requests == NULL) return 3;
  while (fgets(line, sizeof line, requests) != NULL) run_request(line);
  return 0;
}

int MAIN__(void) {
  if (xargc == 2 && strcmp(xargv[1], "--serve") == 0) return serve();
  for (int a = 1; a < xargc; a++) run_word(xargv[a]);
  return 0;
}
