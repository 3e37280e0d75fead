#pragma once

#include <muParser.h>
#include <fparser.hh>

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
