// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1_layout.h"

namespace integral::layout {

const std::array<AccessibleText, 19> kAccessibleTexts = {{
    {"", "Integral", "Numerical integration, step by step"},
    {"Picture1", "Plot canvas",
     "The graph of the chosen integrand; click it to set the height of the Monte Carlo box"},
    {"List1", "Integrand", "Choose the function to integrate", kIntegrandListTooltip},
    {"Command1", "Plot the integrand", "Clear the canvas and plot the chosen integrand"},
    {"Text1", "Lower limit", "Type the lower limit and press Enter"},
    {"Text2", "Upper limit", "Type the upper limit and press Enter to shade the area"},
    {"List2", "Results", "One row per refinement step: the count and the estimate",
     "One row per refinement step: the count and the estimate. Hover over a row for its exact "
     "error; Ctrl+C copies the table, Ctrl+K shows how fast the error falls."},
    {"Text3", "Summary", "The last estimate of the integral"},
    {"Command4", "Compute with the parabolic rule", "Composite parabolic rule, 2 to 20 panels"},
    {"Command5", "Compute with Gauss-Legendre quadrature", "Gauss-Legendre, 2 to 6 nodes"},
    {"Command6", "Compute with Monte Carlo sampling",
     "Hit-or-miss sampling in the box under the height clicked on the canvas"},
    {"Command3", "Help", "Show how to use the program"},
    {"Command2", "End", "Close the program"},
    {"Text4", "Help text", "How to use the program",
     "Choose a function - click Graph - type the Initial value and press Enter - type the Final "
     "value and press Enter - click a yellow button"},
    {"Label1", "Lower limit label", "Labels the lower limit box"},
    {"Label2", "Upper limit label", "Labels the upper limit box"},
    {"Label3", "Results heading", "Heads the columns of the results list"},
    {"Label4", "Title", "The program's title"},
    {"Label5", "Monte Carlo hint", "Reminds to set the box height before Monte Carlo"},
}};

std::string_view descriptionOf(std::string_view control) {
    for (const AccessibleText& entry : kAccessibleTexts) {
        if (entry.control == control) {
            return entry.description;
        }
    }
    return {};
}

}  // namespace integral::layout
