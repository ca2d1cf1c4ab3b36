/*
 * vtg_bezier_suite.h - measuring, evaluating and dividing one cubic Bezier.
 *
 * A cubic is given by its four control points P0 (start anchor), P1 (out
 * handle of the start), P2 (in handle of the end) and P3 (end anchor), in
 * document points. The parameter t runs from 0 at P0 to 1 at P3:
 *     B(t) = (1-t)^3 P0 + 3t(1-t)^2 P1 + 3t^2(1-t) P2 + t^3 P3
 */
#ifndef VTG_API_BEZIER_SUITE_H
#define VTG_API_BEZIER_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kBezierSuiteName "Host Bezier Suite"
#define kBezierSuiteVersion 1

/* The four control points of one cubic piece. */
typedef struct VtgBezier {
    VtgPoint p0, p1, p2, p3;
} VtgBezier;

typedef struct BezierSuite {
    /* *length = the arc length of the cubic. The curve is halved until each
     * part's control polygon is longer than its chord by at most `flatness`
     * document points, so a smaller flatness gives a closer value.
     * Errors: kBadParameterErr for a null pointer, a flatness that is not a
     * positive number, or a control point that is not finite. */
    ErrorCode (*Length)(const VtgBezier* bezier, double flatness, double* length);

    /* *point = B(t); *tangent (may be null) = the derivative B'(t), a vector
     * that is zero where the curve stands still (for example at t = 0 when
     * P1 equals P0). Errors: kBadParameterErr for a null bezier or point, or
     * t outside [0, 1]. */
    ErrorCode (*PointAt)(const VtgBezier* bezier, double t, VtgPoint* point, VtgPoint* tangent);

    /* *t = the parameter at which the arc length measured from P0 (as by
     * Length with the same flatness) equals `length`. A length within
     * `flatness` beyond the whole length gives t = 1.
     * Errors: kBadParameterErr for a null pointer, a bad flatness, a
     * negative length or one beyond the curve (then *t is unchanged). */
    ErrorCode (*ParameterAtLength)(const VtgBezier* bezier, double length, double flatness,
                                   double* t);

    /* Divides the cubic at t (de Casteljau): *left runs from P0 to B(t) and
     * *right from B(t) to P3; together they trace the same curve. Either
     * output may be the same record as the input.
     * Errors: kBadParameterErr for a null pointer or t outside [0, 1]. */
    ErrorCode (*Divide)(const VtgBezier* bezier, double t, VtgBezier* left, VtgBezier* right);
} BezierSuite;

#ifdef __cplusplus
}
#endif
#endif
