#ifndef QUORVEL_QUORVEL_HPP
#define QUORVEL_QUORVEL_HPP

/*
 * A thin C++20 layer over the prepared programs of <quorvel/quorvel.h>: a program that frees
 * itself, called like a function, and the many-row call over spans.
 */

#include <quorvel/quorvel.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>

namespace quorvel {

class program {
  public:
    /* Prepares the expression; false when it fails, with failure (when given) saying why. */
    explicit program(const char *expression, quorvel_failure *failure = nullptr)
        : program_(quorvel_prepare(expression, failure)) {}

    explicit operator bool() const { return program_ != nullptr; }

    float operator()(float x, float y = 0.0f, float z = 0.0f) const {
        return quorvel_run(program_.get(), x, y, z);
    }

    /*
     * quorvel_run_many over as many rows as results holds and every non-empty input holds; an
     * empty x, y or z reads zeros. results may be the same memory as an input.
     */
    void run_many(std::span<const float> x, std::span<const float> y, std::span<const float> z,
                  std::span<float> results) const {
        std::size_t count = results.size();
        for (std::span<const float> input : {x, y, z}) {
            if (!input.empty()) count = std::min(count, input.size());
        }
        quorvel_run_many(program_.get(), count, x.empty() ? nullptr : x.data(),
                         y.empty() ? nullptr : y.data(), z.empty() ? nullptr : z.data(),
                         results.data());
    }

  private:
    struct release {
        void operator()(quorvel_program *p) const { quorvel_release(p); }
    };
    std::unique_ptr<quorvel_program, release> program_;
};

}  // namespace quorvel

#endif
