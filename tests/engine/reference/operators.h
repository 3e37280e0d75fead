#pragma once

namespace reference {

// The operator functions behind the sign and operator tables (and eight registry rows).
// Each computes in double precision and rounds once to float.

float OpIdentity(float x);
float OpNegate(float x);
float OpAdd(float a, float b);
float OpSubtract(float a, float b);
float OpMultiply(float a, float b);
float OpDivide(float a, float b);
float OpModulo(float a, float b);
float OpPower(float a, float b);

}  // namespace reference
