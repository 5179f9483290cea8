#pragma once

namespace engine::formula {

// Helper for std::visit with one lambda per alternative.
template <class... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace engine::formula
