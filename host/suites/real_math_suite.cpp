#include "host/suites/real_math_suite.h"

#include <algorithm>
#include <cmath>

namespace {

AIReal RealAdd(AIReal a, AIReal b) { return a + b; }
AIReal RealMul(AIReal a, AIReal b) { return a * b; }

void RectInset(AIRealRect* r, AIReal dh, AIReal dv)
{
    r->left += dh;
    r->right -= dh;
    r->top -= dv;
    r->bottom += dv;
}

void RectOffset(AIRealRect* r, AIReal dh, AIReal dv)
{
    r->left += dh;
    r->right += dh;
    r->top += dv;
    r->bottom += dv;
}

ASBoolean RectEmpty(const AIRealRect* r)
{
    return (r->right <= r->left || r->top <= r->bottom) ? 1 : 0;
}

ASBoolean RectIntersect(const AIRealRect* a, const AIRealRect* b, AIRealRect* out)
{
    AIRealRect r;
    r.left = std::max(a->left, b->left);
    r.right = std::min(a->right, b->right);
    r.top = std::min(a->top, b->top);
    r.bottom = std::max(a->bottom, b->bottom);
    *out = r;
    return RectEmpty(&r) ? 0 : 1;
}

void RectUnion(const AIRealRect* a, const AIRealRect* b, AIRealRect* out)
{
    AIRealRect r;
    r.left = std::min(a->left, b->left);
    r.right = std::max(a->right, b->right);
    r.top = std::max(a->top, b->top);
    r.bottom = std::min(a->bottom, b->bottom);
    *out = r;
}

ASBoolean RectOverlap(const AIRealRect* a, const AIRealRect* b)
{
    AIRealRect scratch;
    return RectIntersect(a, b, &scratch);
}

ASBoolean RectEqual(const AIRealRect* a, const AIRealRect* b)
{
    return (a->left == b->left && a->top == b->top && a->right == b->right &&
            a->bottom == b->bottom) ? 1 : 0;
}

ASBoolean PointInRect(const AIRealPoint* p, const AIRealRect* r)
{
    return (p->h >= r->left && p->h <= r->right && p->v >= r->bottom && p->v <= r->top) ? 1 : 0;
}

ASBoolean PointEqual(const AIRealPoint* a, const AIRealPoint* b)
{
    return (a->h == b->h && a->v == b->v) ? 1 : 0;
}

ASBoolean PointClose(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance)
{
    return (std::fabs(a->h - b->h) <= tolerance && std::fabs(a->v - b->v) <= tolerance) ? 1 : 0;
}

void MatrixSetIdentity(AIRealMatrix* m) { *m = AIRealMatrix{1, 0, 0, 1, 0, 0}; }

void MatrixSetTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) { *m = AIRealMatrix{1, 0, 0, 1, tx, ty}; }

void MatrixSetScale(AIRealMatrix* m, AIReal sx, AIReal sy) { *m = AIRealMatrix{sx, 0, 0, sy, 0, 0}; }

void MatrixSetRotate(AIRealMatrix* m, AIReal angle)
{
    const AIReal c = std::cos(angle);
    const AIReal s = std::sin(angle);
    *m = AIRealMatrix{c, s, -s, c, 0, 0};
}

void MatrixConcat(const AIRealMatrix* p, const AIRealMatrix* q, AIRealMatrix* out)
{
    AIRealMatrix r;
    r.a = p->a * q->a + p->b * q->c;
    r.b = p->a * q->b + p->b * q->d;
    r.c = p->c * q->a + p->d * q->c;
    r.d = p->c * q->b + p->d * q->d;
    r.tx = p->tx * q->a + p->ty * q->c + q->tx;
    r.ty = p->tx * q->b + p->ty * q->d + q->ty;
    *out = r;
}

AIReal MatrixGetRotate(const AIRealMatrix* m) { return std::atan2(m->b, m->a); }

ASBoolean MatrixInvert(const AIRealMatrix* m, AIRealMatrix* out)
{
    const AIReal det = m->a * m->d - m->b * m->c;
    if (det == 0 || !std::isfinite(det))
        return 0;
    AIRealMatrix r;
    r.a = m->d / det;
    r.b = -m->b / det;
    r.c = -m->c / det;
    r.d = m->a / det;
    r.tx = -(m->tx * r.a + m->ty * r.c);
    r.ty = -(m->tx * r.b + m->ty * r.d);
    *out = r;
    return 1;
}

ASBoolean MatrixIsIdentity(const AIRealMatrix* m)
{
    return (m->a == 1 && m->b == 0 && m->c == 0 && m->d == 1 && m->tx == 0 && m->ty == 0) ? 1 : 0;
}

void MatrixXformPoint(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out)
{
    const AIRealPoint p = *in;
    out->h = m->a * p.h + m->c * p.v + m->tx;
    out->v = m->b * p.h + m->d * p.v + m->ty;
}

const AIRealMathSuite kSuite = {
    RealAdd,
    RealMul,
    RectInset,
    RectOffset,
    RectIntersect,
    RectUnion,
    RectOverlap,
    RectEmpty,
    RectEqual,
    PointInRect,
    PointEqual,
    PointClose,
    MatrixSetIdentity,
    MatrixSetTranslate,
    MatrixSetScale,
    MatrixSetRotate,
    MatrixConcat,
    MatrixGetRotate,
    MatrixInvert,
    MatrixIsIdentity,
    MatrixXformPoint,
};

} // namespace

const AIRealMathSuite* HostRealMathSuite() { return &kSuite; }
