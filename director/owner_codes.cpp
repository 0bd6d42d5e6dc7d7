#include "director/owner_codes.h"

// "MOGU" stands twice; the order changes no result.
const char OwnerCodes[OwnerCodeCount][OwnerCodeEntry] = {
    "ABLU", "ACFU", "AMFU", "APHU", "APLS", "APLU", "APMU", "APZU", "ARMU", "AWSU", "BAXU", "BAFU",
    "BHCU", "BMOU", "BSIU", "CAIU", "CAKM", "CARU", "CAXU", "CBHU", "CCLU", "CCRU", "CHPU", "CIFU",
    "CGMU", "CLHU", "CLLU", "CLOU", "CMAU", "CMBU", "CMCU", "CNCU", "CNIU", "CPIU", "CPBU", "CPSU",
    "CRLU", "CRSU", "CRXU", "CSOU", "CSVU", "CTXU", "CXIU", "DFSU", "DJLU", "DLCU", "DNAU", "DVRU",
    "EASU", "EAXU", "ECMU", "EISU", "ELCU", "EMCU", "EXFU", "EOLU", "ETNU", "EURU", "FBLU", "FBXU",
    "FCIU", "FEAU", "FSCU", "GATU", "GESU", "GLDU", "GMMU", "GMTU", "GSIU", "GSTU", "GVCU", "GVDU",
    "HALU", "HAHU", "HDMU", "HJCU", "HHCU", "HLCU", "HLXU", "ICOU", "ICSU", "IEAU", "IKKU", "ILCU",
    "IMTU", "INBU", "INKU", "IPXU", "IRNU", "IRSU", "ISMU", "ITLU", "JAYU", "JHSU", "JOLU", "JXLU",
    "KAMU", "KHLU", "KHJU", "KKFU", "KKTU", "KLFU", "KLTU", "KMBU", "KMLU", "KMTU", "KNLU", "LBIU",
    "LTIU", "MAEU", "MARU", "MDFU", "MEDU", "MISU", "MLCU", "MMCU", "MOAU", "MOGU", "MOEU", "MOFU",
    "MOGU", "MOLU", "MORU", "MOTU", "MSCU", "MSKU", "MSLU", "MWCU", "MWMU", "NCCU", "NDLU", "NEPU",
    "NOLU", "NOSU", "NRSU", "NSSU", "NSLU", "NYKU", "OCLU", "OOLU", "OPRU", "OTAU", "PAAU", "PCIU",
    "PCLU", "PCSU", "PDLU", "PGRU", "PKRU", "PMLU", "POCU", "PONU", "PRSU", "PSSU", "REGU", "RMCU",
    "RWTU", "SAMU", "SARU", "SCMU", "SCZU", "SEAU", "SECS", "SENU", "SGCU", "SHXU", "SIIU", "SITU",
    "SKLU", "SKHU", "SNBU", "SNGU", "SNTU", "SUDU", "SVWU", "TCKU", "TCNU", "TEXU", "TGHU", "TIFU",
    "TMLU", "TOLU", "TOPU", "TPCU", "TPHU", "TPXU", "TRIU", "TRLU", "TTNU", "TCIU", "TWCU", "UACU",
    "UESU", "UETU", "UGMU", "UTCU", "UXXU", "WFHU", "WGCU", "WHLU", "WLNU", "WSDU", "WWWU", "XINU",
    "XTRU", "YMCU", "YMLU", "YPCU", "ZCSU", "ZIMU", "ZJSU", "ZRMU",
};

int OwnerCodeMatchLevel(const char* text) {
    int best = 0;
    for (const auto& entry : OwnerCodes) {
        int same = 0;
        for (int i = 0; i < OwnerCodeLength && text[i] != '\0'; ++i) same += entry[i] == text[i];
        if (same > best) best = same;
    }
    return best;
}
