#include "bench/peer_parsers.h"

#include "bench/corpus.h"

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
