#include "shell/UBlowFish.h"

#include "shell/UBlowFishTables.h"
#include "shell/UErrors.h"

#include <QtEndian>
#include <algorithm>

namespace {

constexpr qsizetype BlockSize = 8;
constexpr qsizetype MaxKeyLength = 72; // every key byte still reaches the P-array

void CheckLength(const QByteArray& buffer) {
    if (buffer.isEmpty() || buffer.size() % BlockSize != 0)
        ThrowError("Incorrect buffer length");
}

void XorBlock(quint8* block, const quint8* with) {
    for (int i = 0; i < BlockSize; ++i)
        block[i] ^= with[i];
}

} // namespace

CBlowFish::CBlowFish(QByteArrayView key, const TBlock& initialChain)
    : m_P(UBlowFishTables::InitialP), m_S(UBlowFishTables::InitialS), m_InitialChain(initialChain),
      m_Chain(initialChain) {
    static_assert(UBlowFishTables::PEntries == Rounds + 2);
    if (key.isEmpty() || key.size() > MaxKeyLength)
        ThrowError("Incorrect key length");

    // Mix the key, cycled as needed, into the P-array.
    qsizetype k = 0;
    for (quint32& p : m_P) {
        quint32 word = 0;
        for (int i = 0; i < 4; ++i) {
            word = (word << 8) | static_cast<quint8>(key[k]);
            k = (k + 1) % key.size();
        }
        p ^= word;
    }

    // Replace the subkeys, in order, by the encryption of a running block.
    quint32 left = 0;
    quint32 right = 0;
    for (std::size_t i = 0; i < m_P.size(); i += 2) {
        EncryptBlock(left, right);
        m_P[i] = left;
        m_P[i + 1] = right;
    }
    for (auto& box : m_S) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

quint32 CBlowFish::F(quint32 x) const {
    return ((m_S[0][x >> 24] + m_S[1][(x >> 16) & 0xFF]) ^ m_S[2][(x >> 8) & 0xFF]) +
           m_S[3][x & 0xFF];
}

void CBlowFish::EncryptBlock(quint32& left, quint32& right) const {
    quint32 l = left;
    quint32 r = right;
    for (int i = 0; i < Rounds; ++i) {
        l ^= m_P[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_P[Rounds];
    l ^= m_P[Rounds + 1];
    left = l;
    right = r;
}

void CBlowFish::DecryptBlock(quint32& left, quint32& right) const {
    quint32 l = left;
    quint32 r = right;
    for (int i = Rounds + 1; i > 1; --i) {
        l ^= m_P[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_P[1];
    l ^= m_P[0];
    left = l;
    right = r;
}

void CBlowFish::EncryptBytes(quint8* block) const {
    quint32 left = qFromBigEndian<quint32>(block);
    quint32 right = qFromBigEndian<quint32>(block + 4);
    EncryptBlock(left, right);
    qToBigEndian(left, block);
    qToBigEndian(right, block + 4);
}

void CBlowFish::DecryptBytes(quint8* block) const {
    quint32 left = qFromBigEndian<quint32>(block);
    quint32 right = qFromBigEndian<quint32>(block + 4);
    DecryptBlock(left, right);
    qToBigEndian(left, block);
    qToBigEndian(right, block + 4);
}

void CBlowFish::Encrypt(QByteArray& buffer, TMode mode) {
    CheckLength(buffer);
    auto* const begin = reinterpret_cast<quint8*>(buffer.data());
    auto* const end = begin + buffer.size();
    for (quint8* block = begin; block != end; block += BlockSize) {
        switch (mode) {
        case TMode::ECB:
            EncryptBytes(block);
            break;
        case TMode::CBC:
            XorBlock(block, m_Chain.data());
            EncryptBytes(block);
            std::copy_n(block, BlockSize, m_Chain.begin());
            break;
        case TMode::CFB:
            EncryptBytes(m_Chain.data());
            XorBlock(block, m_Chain.data());
            std::copy_n(block, BlockSize, m_Chain.begin());
            break;
        }
    }
}

void CBlowFish::Decrypt(QByteArray& buffer, TMode mode) {
    CheckLength(buffer);
    auto* const begin = reinterpret_cast<quint8*>(buffer.data());
    auto* const end = begin + buffer.size();
    TBlock cipher;
    for (quint8* block = begin; block != end; block += BlockSize) {
        switch (mode) {
        case TMode::ECB:
            DecryptBytes(block);
            break;
        case TMode::CBC:
            std::copy_n(block, BlockSize, cipher.begin());
            DecryptBytes(block);
            XorBlock(block, m_Chain.data());
            m_Chain = cipher;
            break;
        case TMode::CFB:
            std::copy_n(block, BlockSize, cipher.begin());
            EncryptBytes(m_Chain.data());
            XorBlock(block, m_Chain.data());
            m_Chain = cipher;
            break;
        }
    }
}
