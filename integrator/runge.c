/* runge.c: fixed-step fourth-order Runge-Kutta integrator for the generated
 * model source temp.c.  Build: tcc -o temp -lm temp.c runge.c, or with gcc:
 * gcc -o temp -Wl,--no-as-needed -lm temp.c runge.c
 *
 * Reads temp.PAR (parameters, counts, times, initial values), integrates the
 * integral variables with classic RK4 on equal steps that never pass an output
 * time, and writes temp.csv: a header "TIME" and the output labels, then one row
 * per output time.  On any error it prints one line and exits with status 1,
 * leaving no temp.csv.
 *
 * temp.c defines the globals and the functions DOUT, FUNC and FU; everything of
 * our own is static with the prefix rk_, because temp.c adds a global for every
 * feedback name and functions such as E1, C1, R2, TF1. */
#define RK_NAME "runge"

/* ==== shared by runge.c and rungeauto.c: keep the two copies identical ==== */
#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

extern double OP[100], H, X[130], XX[30], T, PA[10000], DX[130];
void DOUT();
void FUNC(double T, double X[], int N);
double FU(int I, double T, double X[]);

#define RK_PAR "temp.PAR"
#define RK_CSV "temp.csv"
#define RK_CSV_PART "temp.csv.part"
#define RK_MAXX 130
#define RK_MAXOP 100
#define RK_MAXPA 9999
#define RK_LABEL 64

/* ---- what temp.PAR gives ---- */
static int rk_ns, rk_in, rk_nd, rk_no, rk_nop;
static int rk_have_no, rk_have_pt[4];
static double rk_pt[4];
static char rk_label[RK_MAXOP][RK_LABEL];
static int rk_n;          /* number of integral variables, NS + IN */
static double *rk_dum;    /* dummy outputs FU(1..ND) */
static FILE *rk_csv;

static void rk_fail(const char *fmt, ...) __attribute__((format(printf, 1, 2), noreturn));

static void rk_fail(const char *fmt, ...) {
  va_list ap;
  if (rk_csv) {
    fclose(rk_csv);
    rk_csv = NULL;
    remove(RK_CSV_PART);
  }
  printf("%s: ", RK_NAME);
  va_start(ap, fmt);
  vprintf(fmt, ap);
  va_end(ap);
  printf("\n");
  fflush(stdout);
  exit(1);
}

/* Sign transfer as in Fortran: |a| with the sign of b. */
double DSIGN(double a, double b) { return b >= 0.0 ? fabs(a) : -fabs(a); }

/* The dummies DE(n) and DF(n) of a torn bond take what the other side gives:
 * DE(n) = FU(2n-1), DF(n) = FU(2n).  Weak, so a model global of that name wins. */
__attribute__((weak)) double DE(int n) {
  return (n >= 1 && 2 * n - 1 <= rk_nd) ? rk_dum[2 * n - 2] : 0.0;
}
__attribute__((weak)) double DF(int n) {
  return (n >= 1 && 2 * n <= rk_nd) ? rk_dum[2 * n - 1] : 0.0;
}

/* ---- reading temp.PAR ---- */

static const char *rk_skip(const char *p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

/* A decimal integer at *p; 0 when there is none or it is out of range. */
static int rk_int(const char **p, long *out) {
  char *end;
  long v;
  errno = 0;
  v = strtol(*p, &end, 10);
  if (end == *p || errno == ERANGE || v > 2000000000L || v < -2000000000L) return 0;
  *out = v;
  *p = end;
  return 1;
}

static int rk_real(const char **p, double *out) {
  char *end;
  double v = strtod(*p, &end);
  if (end == *p) return 0;
  *out = v;
  *p = end;
  return 1;
}

struct rk_initial { int k; double v; };

static void rk_read_par(void) {
  FILE *f = fopen(RK_PAR, "r");
  char line[4096];
  int lineno = 0;
  struct rk_initial *st = NULL;
  size_t nst = 0, capst = 0, i;
  if (!f) rk_fail("cannot open " RK_PAR);
  while (fgets(line, sizeof line, f)) {
    size_t len = strlen(line);
    const char *p;
    long k = 0;
    double v = 0.0;
    ++lineno;
    if (len > 0 && line[len - 1] != '\n' && !feof(f)) {
      int c; /* a long line: only its start matters */
      while ((c = fgetc(f)) != EOF && c != '\n') {}
    }
    while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r')) line[--len] = '\0';
    if (strncmp(line, "END", 3) == 0) break;
    if (len < 2) rk_fail("bad line %d in " RK_PAR, lineno);
    p = line + 2;
    if (strncmp(line, "PA", 2) == 0) {
      if (!rk_int(&p, &k) || !rk_real(&p, &v)) rk_fail("bad parameter line %d in " RK_PAR, lineno);
      if (k < 1 || k > RK_MAXPA) rk_fail("parameter number %ld out of range 1..%d", k, RK_MAXPA);
      PA[k] = v;
    } else if (strncmp(line, "ST", 2) == 0) {
      if (!rk_int(&p, &k) || !rk_real(&p, &v)) rk_fail("bad initial-value line %d in " RK_PAR, lineno);
      if (nst == capst) {
        struct rk_initial *grown;
        capst = capst ? 2 * capst : 16;
        grown = (struct rk_initial *)realloc(st, capst * sizeof *st);
        if (!grown) rk_fail("out of memory");
        st = grown;
      }
      st[nst].k = (int)k;
      st[nst].v = v;
      ++nst;
    } else if (strncmp(line, "PT", 2) == 0) {
      if (!rk_int(&p, &k) || !rk_real(&p, &v) || k < 1 || k > 3)
        rk_fail("bad time line %d in " RK_PAR, lineno);
      if (!isfinite(v)) rk_fail("time value on line %d of " RK_PAR " is not finite", lineno);
      rk_pt[k] = v;
      rk_have_pt[k] = 1;
    } else if (strncmp(line, "LA", 2) == 0) {
      const char *w;
      size_t n = 0;
      if (!rk_int(&p, &k)) rk_fail("bad label line %d in " RK_PAR, lineno);
      if (k < 1 || k > RK_MAXOP) rk_fail("output number %ld out of range 1..%d", k, RK_MAXOP);
      w = rk_skip(p);
      while (w[n] && w[n] != ' ' && w[n] != '\t' && n + 1 < RK_LABEL) ++n;
      memcpy(rk_label[k - 1], w, n);
      rk_label[k - 1][n] = '\0';
    } else if (strncmp(line, "NS", 2) == 0 || strncmp(line, "IN", 2) == 0 ||
               strncmp(line, "ND", 2) == 0 || strncmp(line, "NO", 2) == 0 ||
               strncmp(line, "OP", 2) == 0) {
      /* NO below 1 is taken as 1; the other counts cannot be negative */
      if (!rk_int(&p, &k) || (k < 0 && line[1] != 'O') || k > 100000000L)
        rk_fail("bad count line %d in " RK_PAR, lineno);
      if (line[0] == 'N' && line[1] == 'S') rk_ns = (int)k;
      else if (line[0] == 'I') rk_in = (int)k;
      else if (line[0] == 'N' && line[1] == 'D') rk_nd = (int)k;
      else if (line[0] == 'N') { rk_no = (int)k; rk_have_no = 1; }
      else rk_nop = (int)k; /* "OP" */
    } else {
      rk_fail("unrecognised line %d in " RK_PAR, lineno);
    }
  }
  if (ferror(f)) rk_fail("cannot read " RK_PAR);
  fclose(f);
  if (!rk_have_pt[1] || !rk_have_pt[2] || !rk_have_pt[3] || !rk_have_no)
    rk_fail(RK_PAR " lacks the simulation times (PT 1, PT 2, PT 3 and NO lines)");
  if ((long)rk_ns + rk_in > RK_MAXX) rk_fail("too many integral variables: %d (at most %d)", rk_ns + rk_in, RK_MAXX);
  if (rk_nop > RK_MAXOP) rk_fail("too many output variables: %d (at most %d)", rk_nop, RK_MAXOP);
  rk_n = rk_ns + rk_in;
  for (i = 0; i < nst; ++i) {
    if (st[i].k < 1 || st[i].k > rk_n)
      rk_fail("initial value for integral variable %d, but there are %d", st[i].k, rk_n);
    X[st[i].k - 1] = st[i].v; /* a repeated number: the last line wins */
  }
  free(st);
  if (rk_nd > 0) {
    rk_dum = (double *)calloc((size_t)rk_nd, sizeof *rk_dum);
    if (!rk_dum) rk_fail("out of memory");
  }
}

/* ---- evaluating the model ---- */

/* Solves the dummies' algebraic loop at the current T and X by repeated sweeps. */
static void rk_dummies(void) {
  int sweep, i;
  if (rk_nd <= 0) return;
  for (sweep = 0; sweep < 100; ++sweep) {
    int moved = 0;
    for (i = 0; i < rk_nd; ++i) {
      double v = FU(i + 1, T, X);
      if (!(fabs(v - rk_dum[i]) <= 1e-12 * (1.0 + fabs(v)))) moved = 1;
      rk_dum[i] = v;
    }
    if (!moved) return;
  }
  rk_fail("dummy variables do not converge at T=%e", T);
}

static void rk_header(void) {
  int i;
  fputs("TIME", rk_csv);
  for (i = 0; i < rk_nop; ++i) {
    if (rk_label[i][0])
      fprintf(rk_csv, ",%s", rk_label[i]);
    else
      fprintf(rk_csv, ",OP%d", i + 1);
  }
  fputc('\n', rk_csv);
}

static void rk_row(double t, const double *y) {
  int i;
  T = t;
  for (i = 0; i < rk_n; ++i) X[i] = y[i];
  rk_dummies();
  DOUT();
  fprintf(rk_csv, "%.10e", t);
  for (i = 0; i < rk_nop; ++i) fprintf(rk_csv, ",%.10e", OP[i]);
  fputc('\n', rk_csv);
}

/* ==== end of the shared code ==== */

/* ---- classic RK4 ---- */

static double rk_y[RK_MAXX], rk_sum[RK_MAXX];

/* One evaluation at time t of the stage state already in the global X. */
static void rk_stage(double t) {
  T = t;
  if (rk_nd > 0) rk_dummies();
  FUNC(T, X, rk_n);
}

/* One step of size s from (t, rk_y).  Each stage state is built in the global X
 * itself and each derivative is taken from DX before the next evaluation, so
 * k1..k4 are summed as they come: y += s/6 (k1 + 2 k2 + 2 k3 + k4). */
static void rk_step(double t, double s) {
  int i, n = rk_n;
  const double half = 0.5 * s;
  H = s;
  for (i = 0; i < n; ++i) X[i] = rk_y[i];
  rk_stage(t);
  for (i = 0; i < n; ++i) {
    rk_sum[i] = DX[i];
    X[i] = rk_y[i] + half * DX[i];
  }
  rk_stage(t + half);
  for (i = 0; i < n; ++i) {
    rk_sum[i] = rk_sum[i] + 2.0 * DX[i];
    X[i] = rk_y[i] + half * DX[i];
  }
  rk_stage(t + half);
  for (i = 0; i < n; ++i) {
    rk_sum[i] = rk_sum[i] + 2.0 * DX[i];
    X[i] = rk_y[i] + s * DX[i];
  }
  rk_stage(t + s);
  for (i = 0; i < n; ++i) rk_y[i] += s / 6.0 * (rk_sum[i] + DX[i]);
}

int main(void) {
  double t0, t1, h;
  int nout, i;
  remove(RK_CSV);
  rk_read_par();
  t0 = rk_pt[1];
  t1 = rk_pt[2];
  h = rk_pt[3];
  nout = rk_no < 1 ? 1 : rk_no;
  rk_csv = fopen(RK_CSV_PART, "w");
  if (!rk_csv) rk_fail("cannot create " RK_CSV);
  for (i = 0; i < rk_n; ++i) rk_y[i] = X[i];
  H = h;
  rk_header();
  rk_row(t0, rk_y);
  for (i = 0; i < nout; ++i) {
    double a = t0 + (t1 - t0) * i / nout;
    double b = t0 + (t1 - t0) * (i + 1) / nout;
    double steps = 1.0, s;
    long j, n;
    if (h > 0.0) {
      steps = ceil(fabs(b - a) / h - 1e-9);
      if (steps < 1.0) steps = 1.0;
    }
    if (steps > 1e12) rk_fail("time step %e too small for the output interval", h);
    n = (long)steps;
    s = (b - a) / (double)n;
    for (j = 0; j < n; ++j) rk_step(a + s * (double)j, s);
    rk_row(b, rk_y);
  }
  if (fclose(rk_csv) != 0) {
    rk_csv = NULL;
    remove(RK_CSV_PART);
    rk_fail("cannot write " RK_CSV);
  }
  rk_csv = NULL;
  if (rename(RK_CSV_PART, RK_CSV) != 0) {
    remove(RK_CSV_PART);
    rk_fail("cannot create " RK_CSV);
  }
  return 0;
}
