#include "ostrel/Evaluate.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Recursive descent over the text; any error makes the whole evaluation fail.
class Parser {
public:
    explicit Parser(const char* s) : m_p(s) {}

    bool Run(double& value, bool& logical) {
        if (!Or(value, logical)) return false;
        Blanks();
        return *m_p == '\0';
    }

private:
    void Blanks() {
        while (*m_p == ' ' || *m_p == '\t' || *m_p == '\r' || *m_p == '\n') ++m_p;
    }
    bool Take(const char* op) {
        Blanks();
        size_t n = std::strlen(op);
        if (std::strncmp(m_p, op, n) != 0) return false;
        // "<" must not take the first half of "<=", "=" of "==" and so on.
        if (n == 1 && (op[0] == '<' || op[0] == '>' || op[0] == '!') && m_p[1] == '=') return false;
        m_p += n;
        return true;
    }

    bool Or(double& v, bool& logical) {
        if (!And(v, logical)) return false;
        while (Take("||")) {
            double r;
            bool rl;
            if (!And(r, rl)) return false;
            v = (v != 0 || r != 0) ? 1 : 0;
            logical = true;
        }
        return true;
    }
    bool And(double& v, bool& logical) {
        if (!Equality(v, logical)) return false;
        while (Take("&&")) {
            double r;
            bool rl;
            if (!Equality(r, rl)) return false;
            v = (v != 0 && r != 0) ? 1 : 0;
            logical = true;
        }
        return true;
    }
    bool Equality(double& v, bool& logical) {
        if (!Relation(v, logical)) return false;
        for (;;) {
            bool eq;
            if (Take("=="))
                eq = true;
            else if (Take("!="))
                eq = false;
            else
                return true;
            double r;
            bool rl;
            if (!Relation(r, rl)) return false;
            v = ((v == r) == eq) ? 1 : 0;
            logical = true;
        }
    }
    bool Relation(double& v, bool& logical) {
        if (!Sum(v, logical)) return false;
        for (;;) {
            int op;
            if (Take("<="))
                op = 0;
            else if (Take(">="))
                op = 1;
            else if (Take("<"))
                op = 2;
            else if (Take(">"))
                op = 3;
            else
                return true;
            double r;
            bool rl;
            if (!Sum(r, rl)) return false;
            bool t = op == 0 ? v <= r : op == 1 ? v >= r : op == 2 ? v < r : v > r;
            v = t ? 1 : 0;
            logical = true;
        }
    }
    bool Sum(double& v, bool& logical) {
        if (!Product(v, logical)) return false;
        for (;;) {
            bool plus;
            if (Take("+"))
                plus = true;
            else if (Take("-"))
                plus = false;
            else
                return true;
            double r;
            bool rl;
            if (!Product(r, rl)) return false;
            v = plus ? v + r : v - r;
            logical = false;
        }
    }
    bool Product(double& v, bool& logical) {
        if (!Unary(v, logical)) return false;
        for (;;) {
            bool times;
            if (Take("*"))
                times = true;
            else if (Take("/"))
                times = false;
            else
                return true;
            double r;
            bool rl;
            if (!Unary(r, rl)) return false;
            if (!times && r == 0) return false;
            v = times ? v * r : v / r;
            logical = false;
        }
    }
    bool Unary(double& v, bool& logical) {
        if (++m_depth > 200) return false;  // deeply nested input is refused, not a stack overflow
        bool ok;
        if (Take("!")) {
            ok = Unary(v, logical);
            v = v == 0 ? 1 : 0;
            logical = true;
        } else if (Take("-")) {
            ok = Unary(v, logical);
            v = -v;
            logical = false;
        } else if (Take("+")) {
            ok = Unary(v, logical);
            logical = false;
        } else {
            ok = Primary(v, logical);
        }
        --m_depth;
        return ok;
    }
    bool Primary(double& v, bool& logical) {
        Blanks();
        if (*m_p == '(') {
            ++m_p;
            if (!Or(v, logical)) return false;
            Blanks();
            if (*m_p != ')') return false;
            ++m_p;
            return true;
        }
        // A number: digits with at most one point, then an optional exponent.
        const char* start = m_p;
        const char* q = m_p;
        int digits = 0;
        while (*q >= '0' && *q <= '9') ++q, ++digits;
        if (*q == '.') {
            ++q;
            while (*q >= '0' && *q <= '9') ++q, ++digits;
        }
        if (digits == 0) return false;
        if (*q == 'e' || *q == 'E') {
            const char* e = q + 1;
            if (*e == '+' || *e == '-') ++e;
            if (*e >= '0' && *e <= '9') {
                while (*e >= '0' && *e <= '9') ++e;
                q = e;
            }
        }
        v = std::strtod(std::string(start, q).c_str(), nullptr);
        logical = false;
        m_p = q;
        return true;
    }

    const char* m_p;
    int m_depth = 0;
};

}  // namespace

CString Evaluate(const char* lpszExpression) {
    if (!lpszExpression) return CString();
    double v = 0;
    bool logical = false;
    Parser parser(lpszExpression);
    if (!parser.Run(v, logical) || !std::isfinite(v)) return CString();
    if (logical) return CString(v != 0 ? "1" : "0");
    if (v == 0) v = 0;  // no "-0"
    char buf[64];
    for (int prec = 1; prec <= 17; ++prec) {
        std::snprintf(buf, sizeof buf, "%.*g", prec, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    return CString(buf);
}
