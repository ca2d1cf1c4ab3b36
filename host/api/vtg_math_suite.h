/*
 * vtg_math_suite.h - 2-D affine matrices, rectangles, guarded arithmetic and
 * the seeded random generator.
 *
 * Matrices map a point (x, y) to
 *     x' = a * x + c * y + tx
 *     y' = b * x + d * y + ty
 * in document points with the y axis up, so a positive rotation angle turns
 * counter-clockwise on the page.
 */
#ifndef VTG_API_MATH_SUITE_H
#define VTG_API_MATH_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kMathSuiteName "Host Math Suite"
#define kMathSuiteVersion 1

/* A 2-D affine matrix; see the mapping above. */
typedef struct VtgMatrix {
    double a, b, c, d, tx, ty;
} VtgMatrix;

/* The matrix has no inverse (its determinant is zero or not finite). */
#define kSingularMatrixErr VTG_FOURCC('!', 'I', 'n', 'v')
/* A guarded product or quotient reached +-kVtgHugeValue, or a division by 0. */
#define kOverflowErr VTG_FOURCC('!', 'o', 'V', 'f')

/* The magnitude the plug-in treats as "infinite" in its geometry. */
#define kVtgHugeValue 1.7976931348623158e307

typedef struct MathSuite {
    /* --- matrices ---------------------------------------------------------
     * Every operation writes its result to *out, which may be the same
     * record as an input. Errors: kBadParameterErr for a null pointer. */

    /* *out = identity (1, 0, 0, 1, 0, 0). */
    ErrorCode (*IdentityMatrix)(VtgMatrix* out);
    /* *out = translation by (tx, ty). */
    ErrorCode (*TranslateMatrix)(double tx, double ty, VtgMatrix* out);
    /* *out = scaling by sx horizontally and sy vertically about the origin. */
    ErrorCode (*ScaleMatrix)(double sx, double sy, VtgMatrix* out);
    /* *out = rotation by `radians` about the origin (counter-clockwise). */
    ErrorCode (*RotateMatrix)(double radians, VtgMatrix* out);
    /* *out = shear: x' = x + shx * y, y' = shy * x + y. */
    ErrorCode (*ShearMatrix)(double shx, double shy, VtgMatrix* out);
    /* *out = the matrix that applies `first` and then `second` to a point
     * (each step applies after the previous one). */
    ErrorCode (*ConcatMatrix)(const VtgMatrix* first, const VtgMatrix* second, VtgMatrix* out);
    /* *m = *m followed by a translation, a rotation or a scaling. */
    ErrorCode (*ConcatTranslate)(VtgMatrix* m, double tx, double ty);
    ErrorCode (*ConcatRotate)(VtgMatrix* m, double radians);
    ErrorCode (*ConcatScale)(VtgMatrix* m, double sx, double sy);
    /* *out = m applied to *point. */
    ErrorCode (*TransformPoint)(const VtgMatrix* m, const VtgPoint* point, VtgPoint* out);
    /* *out = the inverse of *m. kSingularMatrixErr when m has none; *out is
     * then left unchanged. */
    ErrorCode (*InvertMatrix)(const VtgMatrix* m, VtgMatrix* out);

    /* --- rectangles and numbers --------------------------------------------- */

    /* *out = the smallest rectangle holding both *r1 and *r2 (left/right by
     * min/max, top by max, bottom by min). */
    ErrorCode (*UnionRect)(const VtgRect* r1, const VtgRect* r2, VtgRect* out);
    /* *out = degrees converted to radians. */
    ErrorCode (*DegreesToRadians)(double degrees, double* out);
    /* *out = the angle of the vector (x, y) in radians, in (-pi, pi]; 0 for
     * the zero vector. */
    ErrorCode (*VectorAngle)(double x, double y, double* out);
    /* *out = a * b, or a / b. kOverflowErr when the result's magnitude is at
     * or beyond kVtgHugeValue, is not a number, or b is 0 in a division;
     * *out is then left unchanged. */
    ErrorCode (*GuardedMultiply)(double a, double b, double* out);
    ErrorCode (*GuardedDivide)(double a, double b, double* out);

    /* --- the seeded random generator --------------------------------------
     * One generator per host. Its exact sequence is part of the document
     * format: art regenerated from a stored seed must come out the same on
     * every machine, so this algorithm never changes.
     *
     * The generator is PCG32 (64-bit linear congruential state, output by
     * XSH-RR):
     *     multiplier M = 6364136223846793005, increment I = 1442695040888963407
     *     step:    old = state; state = old * M + I   (mod 2^64)
     *     output:  xorshifted = (uint32)(((old >> 18) ^ old) >> 27)
     *              rot = (uint32)(old >> 59)
     *              u = (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31))
     * Seeding with s: s is first masked to 31 bits (s & 0x7FFFFFFF); then
     * state = 0, one step, state += s, one step.
     * A uniform number is u / 2^32, so it lies in [0, 1).
     * Before the first SeedRandom the generator behaves as if seeded with 0. */

    /* Seeds the generator with the low 31 bits of `seed`. */
    ErrorCode (*SeedRandom)(int32_t seed);
    /* *out = the next uniform number in [0, 1). kBadParameterErr for null. */
    ErrorCode (*RandomUniform)(double* out);
} MathSuite;

#ifdef __cplusplus
}
#endif
#endif
