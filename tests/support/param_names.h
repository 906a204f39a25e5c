// Names for the cases of a parameterised table: the case's own name with every character a test
// name cannot hold turned into '_'.
#pragma once

#include <cctype>
#include <string>

namespace vyr {

struct ParamNameOf {
    template <class Info>
    std::string operator()(const Info& info) const {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    }
};

}  // namespace vyr
