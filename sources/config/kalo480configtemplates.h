#pragma once

#include <json/value.h>

#include <string>

// The template names that builder and editor refer to, and the crossover type tables of the
// templates file (held by the builder's instance) with the five-digit code of an IIR type. Both
// the builder and the editor build on this unit, so neither needs the other for it.
class Kalo480ConfigTemplates
{
public:
    struct Templates
    {
        static constexpr const char* In_Mixer = "In_Mixer";
        static constexpr const char* In_Router_In1 = "In_Router_In1";
        static constexpr const char* In_Router_In2 = "In_Router_In2";
        static constexpr const char* In_Router_In3 = "In_Router_In3";
        static constexpr const char* In_Router_In4 = "In_Router_In4";
        static constexpr const char* In_Router_In5 = "In_Router_In5";
        static constexpr const char* In_Router_In6 = "In_Router_In6";
        static constexpr const char* In_Router_In7 = "In_Router_In7";
        static constexpr const char* In_Nuq = "In_Nuq";
        static constexpr const char* In_AGC = "In_AGC";
        static constexpr const char* In_Delay = "In_Delay";
        static constexpr const char* In_Compressor = "In_Compressor";
        static constexpr const char* In_GEQ = "In_GEQ";
        static constexpr const char* In_Gate = "In_Gate";
        static constexpr const char* In_PEQ = "In_PEQ";
        static constexpr const char* In_SubharmonicSynth = "In_SubharmonicSynth";
        static constexpr const char* Mid_Mixer_ABC = "Mid_Mixer_ABC";
        static constexpr const char* Mid_Mixer_123 = "Mid_Mixer_123";
        static constexpr const char* Mid_Mixer_Inputs = "Mid_Mixer_Inputs";
        static constexpr const char* Mid_Router_A = "Mid_Router_A";
        static constexpr const char* Mid_Router_B = "Mid_Router_B";
        static constexpr const char* Mid_Router_C = "Mid_Router_C";
        static constexpr const char* Mid_Router_AB = "Mid_Router_A+B";
        static constexpr const char* Mid_Router_BC = "Mid_Router_B+C";
        static constexpr const char* Mid_Router_ABC = "Mid_Router_A+B+C";
        static constexpr const char* Mid_Router_1 = "Mid_Router_1";
        static constexpr const char* Mid_Router_2 = "Mid_Router_2";
        static constexpr const char* Mid_Router_3 = "Mid_Router_3";
        static constexpr const char* Mid_Router_12 = "Mid_Router_1+2";
        static constexpr const char* Mid_Router_23 = "Mid_Router_2+3";
        static constexpr const char* Mid_Router_123 = "Mid_Router_1+2+3";
        static constexpr const char* Mid_Router_In1 = "Mid_Router_In1";
        static constexpr const char* Mid_Router_In2 = "Mid_Router_In2";
        static constexpr const char* Mid_Router_In3 = "Mid_Router_In3";
        static constexpr const char* Mid_Router_In4 = "Mid_Router_In4";
        static constexpr const char* Mid_Router_In5 = "Mid_Router_In5";
        static constexpr const char* Mid_Router_In6 = "Mid_Router_In6";
        static constexpr const char* Mid_Router_In7 = "Mid_Router_In7";
        static constexpr const char* Mid_AutoEQ = "Mid_AutoEQ";
        static constexpr const char* Mid_AGC = "Mid_AGC";
        static constexpr const char* Mid_Compressor = "Mid_Compressor";
        static constexpr const char* Mid_Gate = "Mid_Gate";
        static constexpr const char* Mid_SubharmonicSynth = "Mid_SubharmonicSynth";
        static constexpr const char* Mid_Delay = "Mid_Delay";
        static constexpr const char* Out_CrossoverQX8 = "Out_CrossoverQX8";
        static constexpr const char* Out_CrossoverIIR = "Out_CrossoverIIR";
        static constexpr const char* Out_CrossoverFIR = "Out_CrossoverFIR";
        static constexpr const char* Out_PEQ = "Out_PEQ";
        static constexpr const char* Out_PEQ_Jq_PLUS = "Out_PEQ_Jq+";
        static constexpr const char* Out_PEQ_Morla = "Out_PEQ_Morla";
        static constexpr const char* Out_ZoneGain = "Out_ZoneGain";
        static constexpr const char* Out_OutputGain = "Out_OutputGain";
        static constexpr const char* Out_Limiter = "Out_Limiter";
        static constexpr const char* Out_Delay = "Out_Delay";
        static constexpr const char* Output = "Output";
        static constexpr const char* FindChirpGain = "FindChirpGain";
        static constexpr const char* LevelAssist = "LevelAssist";
        static constexpr const char* AutoEQ = "AutoEQ";
        static constexpr const char* AutoEQMixer = "AutoEQMixer";
        static constexpr const char* SignalGenerator = "SignalGenerator";
        static constexpr const char* RTARouter = "RTARouter";
        static constexpr const char* RTA = "RTA";
        static constexpr const char* MidMeters = "MidMeters";
        static constexpr const char* InputMeters = "InputMeters";
        static constexpr const char* InputGains = "InputGains";
        static constexpr const char* Meters123 = "Meters123";
        static constexpr const char* MetersABC = "MetersABC";
        static constexpr const char* OutputMeters = "OutputMeters";
        static constexpr const char* Inputs1 = "Inputs1";
        static constexpr const char* Inputs2 = "Inputs2";
        static constexpr const char* Inputs3 = "Inputs3";
        static constexpr const char* Outputs1 = "Outputs1";
        static constexpr const char* Outputs2 = "Outputs2";
        static constexpr const char* Outputs3 = "Outputs3";
    };

    // The type table of a crossover template; any other template throws
    // "unsupported crossoverType".
    static const Json::Value& crossoverTypeTable(const std::string& templateName);
    // M N W F S packed as M*10000 + N*1000 + W*100 + F*10 + S; 0 when a word of the type does not
    // parse. A type missing from the table throws "unsupported crossoverSecondaryType".
    static int getCrossoverCode(const std::string& templateName, const std::string& type);
};
