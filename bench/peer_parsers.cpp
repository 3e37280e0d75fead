#include "bench/peer_parsers.h"

#include "bench/corpus.h"

namespace {

// Neither peer knows lerp; both get it in double precision, as they compute everything.
double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

double LerpOfArguments(const double* arguments) {
    return Lerp(arguments[0], arguments[1], arguments[2]);
}

void DefineLerp(mu::Parser& parser) {
    parser.DefineFun("lerp", Lerp);
}

}  // namespace

MuparserOneShot::MuparserOneShot() : x_(kX), y_(kY), z_(kZ) {
    parser_.DefineVar("x", &x_);
    parser_.DefineVar("y", &y_);
    parser_.DefineVar("z", &z_);
}

bool MuparserOneShot::TryEvaluate(const std::string& text, double& value) {
    try {
        value = Evaluate(text);
        return true;
    } catch (const mu::Parser::exception_type&) {
        return false;
    }
}

double MuparserOneShot::Evaluate(const std::string& text) {
    parser_.SetExpr(text);
    return parser_.Eval();
}

FparserOneShot::FparserOneShot() : names_("x,y,z"), values_{kX, kY, kZ} {}

bool FparserOneShot::TryEvaluate(const char* text, double& value) {
    if (parser_.Parse(text, names_) >= 0) return false;
    value = parser_.Eval(values_);
    return parser_.EvalError() == 0;
}

double FparserOneShot::Evaluate(const char* text) {
    parser_.Parse(text, names_);
    return parser_.Eval(values_);
}

FparserPrepared::FparserPrepared(const std::string& text, bool optimise) {
    parser_.AddFunction("lerp", LerpOfArguments, 3);
    parsed_ = parser_.Parse(text, "x,y,z") < 0;
    if (optimise) parser_.Optimize();
}

MuparserPrepared::MuparserPrepared(const std::string& text) : x_(kX), y_(kY), z_(kZ) {
    parser_.DefineVar("x", &x_);
    parser_.DefineVar("y", &y_);
    parser_.DefineVar("z", &z_);
    DefineLerp(parser_);
    parser_.SetExpr(text);
}

bool MuparserPrepared::TryEvaluate(double& value) {
    try {
        value = parser_.Eval();
        return true;
    } catch (const mu::Parser::exception_type&) {
        return false;
    }
}

MuparserBulk::MuparserBulk(const std::string& text, double* x, double* y, double* z) {
    parser_.DefineVar("x", x);
    parser_.DefineVar("y", y);
    parser_.DefineVar("z", z);
    DefineLerp(parser_);
    parser_.SetExpr(text);
}

bool MuparserBulk::TryEvaluate(double* results, std::size_t rows) {
    try {
        Evaluate(results, rows);
        return true;
    } catch (const mu::Parser::exception_type&) {
        return false;
    }
}
