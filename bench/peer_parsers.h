#pragma once

#include <muParser.h>
#include <fparser.hh>

#include <cstddef>
#include <string>

// muparser used one-shot: one parser reused, the expression set and evaluated every time.
class MuparserOneShot {
  public:
    MuparserOneShot();
    MuparserOneShot(const MuparserOneShot&) = delete;
    MuparserOneShot& operator=(const MuparserOneShot&) = delete;

    // Outside the timed loop: whether the text parses and evaluates, and its value.
    bool TryEvaluate(const std::string& text, double& value);
    double Evaluate(const std::string& text);

  private:
    mu::Parser parser_;
    double x_;
    double y_;
    double z_;
};

// fparser used one-shot: one object reused, the text parsed and evaluated every time.
class FparserOneShot {
  public:
    FparserOneShot();

    bool TryEvaluate(const char* text, double& value);
    double Evaluate(const char* text);

  private:
    FunctionParser parser_;
    std::string names_;
    double values_[3];
};

// fparser parsed once, with or without its optimiser, then evaluated row by row.
class FparserPrepared {
  public:
    FparserPrepared(const std::string& text, bool optimise);

    bool parsed() const { return parsed_; }
    double Evaluate(const double (&values)[3]) { return parser_.Eval(values); }

  private:
    FunctionParser parser_;
    bool parsed_;
};

// muparser with the expression set once, evaluated row by row through its variables.
class MuparserPrepared {
  public:
    explicit MuparserPrepared(const std::string& text);
    MuparserPrepared(const MuparserPrepared&) = delete;
    MuparserPrepared& operator=(const MuparserPrepared&) = delete;

    bool TryEvaluate(double& value);
    double Evaluate(double x, double y, double z) {
        x_ = x;
        y_ = y;
        z_ = z;
        return parser_.Eval();
    }

  private:
    mu::Parser parser_;
    double x_;
    double y_;
    double z_;
};

// muparser's bulk mode: its variables are columns, and one call evaluates every row.
class MuparserBulk {
  public:
    MuparserBulk(const std::string& text, double* x, double* y, double* z);
    MuparserBulk(const MuparserBulk&) = delete;
    MuparserBulk& operator=(const MuparserBulk&) = delete;

    bool TryEvaluate(double* results, std::size_t rows);
    void Evaluate(double* results, std::size_t rows) {
        parser_.Eval(results, static_cast<int>(rows));
    }

  private:
    mu::Parser parser_;
};
