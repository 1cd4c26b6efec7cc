#include "runtime/error.h"

namespace rt {

std::string errorText(int number)
{
    switch (number) {
    case InvalidCall: return "Chamada de procedimento ou argumento inválido";
    case Overflow: return "Estouro de capacidade";
    case OutOfMemory: return "Memória insuficiente";
    case DivisionByZero: return "Divisão por zero";
    case ElementMissing: return "O elemento da matriz de controles não existe";
    case AlreadyLoaded: return "O objeto já está carregado";
    case InvalidPropertyValue: return "Valor de propriedade inválido";
    default: return "Erro definido pela aplicação ou pelo objeto";
    }
}

} // namespace rt
