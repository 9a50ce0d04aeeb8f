#pragma once

#include <cstdint>

// Every temperature the points hand out is in degrees Fahrenheit; the device counts in fractions
// of a degree Celsius (or of a kelvin, for differences), and "#SI" formats give Celsius.
namespace points {

inline constexpr double FahrenheitPerKelvin = 1.8;
inline constexpr double FahrenheitAtZeroCelsius = 32;

inline double CelsiusToFahrenheit(double celsius) { return celsius * FahrenheitPerKelvin + FahrenheitAtZeroCelsius; }
inline double FahrenheitToCelsius(double fahrenheit) {
  return (fahrenheit - FahrenheitAtZeroCelsius) / FahrenheitPerKelvin;
}

// A raw count of `perDegree` counts a degree Celsius, and back; halves are rounded later.
inline double RawToFahrenheit(int32_t count, double perDegree) { return CelsiusToFahrenheit(count / perDegree); }
inline double FahrenheitToRaw(double fahrenheit, double perDegree) {
  return (fahrenheit - FahrenheitAtZeroCelsius) * perDegree / FahrenheitPerKelvin;
}
// The same for a difference, which has no offset.
inline double RawToDifference(int32_t count, double perDegree) { return count / perDegree * FahrenheitPerKelvin; }
inline double DifferenceToRaw(double fahrenheit, double perDegree) {
  return fahrenheit * perDegree / FahrenheitPerKelvin;
}

}  // namespace points
